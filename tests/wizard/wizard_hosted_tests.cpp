// The wizard hosted in the test's own process: what cannot be seen from outside
// (fonts, the current controller) and the controller's edges.
#include <gtest/gtest.h>

#include "setup_main.h"
#include "setup_wizard.h"
#include "test_support.h"
#include "wizard_driver.h"
#include "wizard_pages.h"

namespace {

TEST(HostedWizard, Placeholder)
{
    EXPECT_TRUE(gCurrentWizard == NULL);
}

}  // namespace
