// The `corvane` command: the launcher in front of the browser program.
#include "app/Launcher.h"

int main(int argc, char **argv)
{
    return Launcher::run(argc, argv);
}
