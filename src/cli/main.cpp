#include "cli/cli.h"

#include <iostream>

#include <QCoreApplication>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define STDERR_FILENO 2
#else
#include <unistd.h>
#endif

int main(int argc, char **argv)
{
    // The backups go where the window puts them: the user's data folder of "nx5rb".
    QCoreApplication::setApplicationName("nx5rb");
    const std::vector<std::string> args(argv + 1, argv + argc);
    return nx5rb::cli::RunCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
