#include "setup_main.h"

#include <windows.h>

#include "installation.h"
#include "package_layout.h"
#include "resource_loaders.h"
#include "wizard/setup_wizard.h"
#include "wizard/wizard_pages.h"

int SetupMain()
{
    // The controller refers to this buffer for its caption, so it is made first.
    char title[SETUP_TITLE_SIZE];
    title[0] = 0;
    LoadResourceText(RT_SETUP_TITLE, ID_SETUP_TITLE, title, sizeof(title));

    SetupWizard wizard(NULL, title);
    wizard.AddPage(IDD_PAGE_WELCOME, WelcomePageProc);
    wizard.AddPage(IDD_PAGE_LICENSE, LicensePageProc);
    INT_PTR outcome = wizard.Run();

    // The frame and its pages are gone here: the installation's messages have no owner.
    if (outcome == WIZARD_FINISH)
        return RunInstallation() ? kSetupDone : kSetupInstallFailed;
    if (outcome == WIZARD_CANCEL)
        return kSetupDone;
    return kSetupNoWizard;
}
