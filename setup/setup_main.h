// The setup program's entry routine.
#ifndef SETUP_MAIN_H
#define SETUP_MAIN_H

// Exit statuses of the setup program.
const int kSetupDone = 0;            // installed without a failure, or cancelled
const int kSetupInstallFailed = 1;   // the installation showed a failure message
const int kSetupNoWizard = 2;        // the wizard could not be shown

// Shows the wizard over the package this program carries and installs the package
// when the wizard is finished. Returns the exit status.
int SetupMain();

#endif
