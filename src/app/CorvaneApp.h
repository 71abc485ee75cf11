// Process-wide start-up: application identity, engine profile, main window.
#pragma once

class CorvaneApp
{
public:
    // Sets the names Qt needs before anything else, then starts the browser.
    static int run(int argc, char **argv);
    static void setIdentity();
};
