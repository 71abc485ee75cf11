// Process-wide start-up: the command line, handing addresses to a running
// Corvane, application identity, engine profile, main window.
#pragma once

#include <QStringList>

class frmWeb;

class CorvaneApp
{
public:
    // Reads the command line, hands its addresses to a running Corvane
    // when there is one, else sets the names Qt needs and starts the browser.
    static int run(int argc, char **argv);
    static void setIdentity();

private:
    // Opens what a later start handed over, in new tabs after the last, and
    // brings the window to the front.
    static void openHandedOver(frmWeb &window, QStringList addresses);
    // With CORVANE_REPORT_TABS set, prints "tabs <selected>: <address>..."
    // after addresses are opened, for the tests that start the program.
    static void reportTabs(const frmWeb &window);
};
