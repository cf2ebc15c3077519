#include "FuzzTarget.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

// Runs every input of a committed corpus through one target with the normal compiler, so an input that
// once broke a rule fails the test road without clang:   vorna-fuzz-replay <target> <corpus folder>
int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vorna-fuzz-replay <target> <corpus folder>\n");
        return 2;
    }
    const FuzzTarget *target = fuzzTarget(argv[1]);
    if (!target) {
        std::fprintf(stderr, "no fuzz target named %s\n", argv[1]);
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[2]));
    const QStringList inputs = corpus.entryList(QDir::Files, QDir::Name);
    if (inputs.isEmpty()) {
        std::fprintf(stderr, "the corpus %s is empty\n", argv[2]);
        return 2;
    }
    QString slowest;
    qint64 slowestNs = -1;
    for (const QString &name : inputs) {
        QFile file(corpus.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
            return 2;
        }
        const QByteArray bytes = file.readAll();
        // Named first, so the input that aborts the run is the last name printed.
        std::fprintf(stderr, "%s\n", qPrintable(name));
        QElapsedTimer timer;
        timer.start();
        target->entry(bytes);
        if (timer.nsecsElapsed() > slowestNs) {
            slowestNs = timer.nsecsElapsed();
            slowest = name;
        }
    }
    std::printf("%s: %lld inputs replayed; the slowest, %s, took %.1f ms\n", target->name,
                qlonglong(inputs.size()), qPrintable(slowest), slowestNs / 1e6);
    return 0;
}
