#include "DataTool.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    QTextStream err(stderr);
    const int status = runDataTool(app.arguments().mid(1), out, err);
    err.flush();
    out.flush();
    return status;
}
