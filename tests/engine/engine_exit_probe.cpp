// Creates an engine on the Tools folder given as the argument, prints its work folder and ends
// through exit() without destroying the engine, the way Qt ends a program whose display went away.

#include "preview_engine.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const auto *engine = new PreviewEngine(QString::fromLocal8Bit(argv[1]));
    std::printf("%s\n", qPrintable(engine->directory()));
    std::fflush(stdout);
    std::exit(0);
}
