#include "MacUpdatePromptModel.h"

#include "ApplicationPhase.h"
#include "L.h"
#include "MacUpdater.h"
#include "Retarget.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QUrl>

MacUpdatePromptModel::MacUpdatePromptModel(QObject *parent)
    : QObject(parent)
    , m_phase(ApplicationPhase::state())
{
    ApplicationPhase::follow(this, [this](Qt::ApplicationState phase) { setPhase(phase); });
    connect(&m_opener, &LinkOpener::failed, this, [this](const QUrl &url) {
        m_unopenedAddress = url.toString();
        Q_EMIT unopenedAddressChanged();
    });
}

void MacUpdatePromptModel::setUpdater(MacUpdater *updater)
{
    if (!retarget(m_updater, updater, this))
        return;
    if (m_updater) {
        connect(m_updater, &MacUpdater::availableChanged, this, &MacUpdatePromptModel::offeringChanged);
        connect(m_updater, &MacUpdater::noticeChanged, this, &MacUpdatePromptModel::noticeChanged);
    }
    Q_EMIT updaterChanged();
    Q_EMIT offeringChanged();
    Q_EMIT noticeChanged();
}

void MacUpdatePromptModel::setPhase(Qt::ApplicationState phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    Q_EMIT phaseChanged();
    if (phase == Qt::ApplicationActive && m_updater)
        m_updater->startCheck(false);
}

bool MacUpdatePromptModel::offering() const { return m_updater && m_updater->available(); }

QString MacUpdatePromptModel::releaseMessage() const
{
    if (!offering())
        return {};
    return message(*m_updater->available(), m_updater->currentVersion());
}

bool MacUpdatePromptModel::noticing() const { return m_updater && m_updater->notice(); }

QString MacUpdatePromptModel::notice() const { return noticing() ? *m_updater->notice() : QString(); }

void MacUpdatePromptModel::appear()
{
    if (m_updater)
        m_updater->startCheck(false);
}

void MacUpdatePromptModel::download()
{
    if (!offering())
        return;
    const QUrl address(m_updater->available()->url, QUrl::StrictMode);
    // The check let only our own addresses through; the prompt makes sure again before the browser opens.
    if (address.isValid() && MacUpdater::isTrusted(m_updater->available()->url))
        m_opener.open(address);
    dismissRelease();
}

QString MacUpdatePromptModel::unopenedMessage() const
{
    if (m_unopenedAddress.isEmpty())
        return {};
    return L("没有可以打开这个地址的浏览器。请复制地址，在浏览器中打开：") + QStringLiteral("\n\n")
           + m_unopenedAddress;
}

void MacUpdatePromptModel::copyAddress() const
{
    if (!m_unopenedAddress.isEmpty())
        QGuiApplication::clipboard()->setText(m_unopenedAddress);
}

void MacUpdatePromptModel::dismissUnopened()
{
    if (m_unopenedAddress.isEmpty())
        return;
    m_unopenedAddress.clear();
    Q_EMIT unopenedAddressChanged();
}

void MacUpdatePromptModel::dismissRelease()
{
    if (m_updater)
        m_updater->clearAvailable();
}

void MacUpdatePromptModel::dismissNotice()
{
    if (m_updater)
        m_updater->clearNotice();
}

QString MacUpdatePromptModel::message(const MacRelease &release, const QString &currentVersion)
{
    QString text = L("VORNA %@ 已发布，你现在使用的是 %@。", release.version, currentVersion);
    if (release.notes && !release.notes->isEmpty())
        text += QStringLiteral("\n\n") + *release.notes;
    text += QStringLiteral("\n\n");
#if defined(Q_OS_MACOS)
    text += L("下载后打开 DMG，把 VORNA 拖到“应用程序”替换旧版本。");
#else
    text += L("下载后用系统的软件包管理器安装新的软件包，它会替换旧版本。");
#endif
    return text;
}
