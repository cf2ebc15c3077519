#include "LinkOpener.h"

#include "UpdatesLog.h"

#include <QDesktopServices>
#include <QMetaObject>
#include <QProcess>
#include <QStandardPaths>

void LinkOpener::open(const QUrl &url)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // QDesktopServices starts xdg-open and reports success whether or not it finds a browser; its exit
    // status is the only word on that, so it is run here and watched.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        auto *process = new QProcess(this);
        process->setProgram(opener);
        process->setArguments({url.toString(QUrl::FullyEncoded)});
        process->setStandardInputFile(QProcess::nullDevice());
        process->setStandardOutputFile(QProcess::nullDevice());
        connect(process, &QProcess::errorOccurred, this, [this, process, url](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart)
                return;
            qCWarning(lcUpdates) << "xdg-open could not be started:" << process->errorString();
            process->deleteLater();
            Q_EMIT failed(url);
        });
        connect(process, &QProcess::finished, this,
                [this, process, url](int exitCode, QProcess::ExitStatus status) {
                    process->deleteLater();
                    if (status == QProcess::NormalExit && exitCode == 0)
                        return;
                    qCWarning(lcUpdates)
                        << "xdg-open found no way to open the address, exit code" << exitCode;
                    Q_EMIT failed(url);
                });
        process->start();
        return;
    }
#endif
    if (!QDesktopServices::openUrl(url)) {
        // Told after the caller has finished its own step, as the opener above does.
        QMetaObject::invokeMethod(
            this, [this, url] { Q_EMIT failed(url); }, Qt::QueuedConnection);
    }
}
