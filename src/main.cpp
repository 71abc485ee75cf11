// Corvane's entry point; everything else lives in the library.
#include "app/CorvaneApp.h"

int main(int argc, char **argv)
{
    return CorvaneApp::run(argc, argv);
}
