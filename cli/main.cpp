#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "tovikcli.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    tovik::TovikCli cli(out, err);
    return cli.Run(app.arguments().mid(1));
}
