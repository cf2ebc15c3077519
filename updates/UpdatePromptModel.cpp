#include "UpdatePromptModel.h"

#include "ApplicationPhase.h"
#include "L.h"
#include "Retarget.h"
#include "UpdateCheck.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QUrl>

UpdatePromptModel::UpdatePromptModel(QObject *parent)
    : QObject(parent)
    , m_phase(ApplicationPhase::state())
{
    ApplicationPhase::follow(this, [this](Qt::ApplicationState phase) { setPhase(phase); });
    connect(&m_opener, &LinkOpener::failed, this, [this](const QUrl &url) {
        m_unopenedAddress = url.toString();
        Q_EMIT unopenedAddressChanged();
    });
}

void UpdatePromptModel::setUpdater(UpdateCheck *updater)
{
    if (!retarget(m_updater, updater, this))
        return;
    if (m_updater) {
        connect(m_updater, &UpdateCheck::availableChanged, this, &UpdatePromptModel::offeringChanged);
        connect(m_updater, &UpdateCheck::noticeChanged, this, &UpdatePromptModel::noticeChanged);
    }
    Q_EMIT updaterChanged();
    Q_EMIT offeringChanged();
    Q_EMIT noticeChanged();
}

void UpdatePromptModel::setPhase(Qt::ApplicationState phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    Q_EMIT phaseChanged();
    if (phase == Qt::ApplicationActive && m_updater)
        m_updater->startCheck(false);
}

bool UpdatePromptModel::offering() const { return m_updater && m_updater->available(); }

QString UpdatePromptModel::releaseMessage() const
{
    if (!offering())
        return {};
    return message(*m_updater->available(), m_updater->currentVersion());
}

bool UpdatePromptModel::noticing() const { return m_updater && m_updater->notice(); }

QString UpdatePromptModel::notice() const { return noticing() ? *m_updater->notice() : QString(); }

void UpdatePromptModel::appear()
{
    if (m_updater)
        m_updater->startCheck(false);
}

void UpdatePromptModel::download()
{
    if (!offering())
        return;
    const QUrl address(m_updater->available()->url, QUrl::StrictMode);
    // The check let only our own addresses through; the prompt makes sure again before the browser opens.
    if (address.isValid() && UpdateCheck::isTrusted(m_updater->available()->url))
        m_opener.open(address);
    dismissRelease();
}

QString UpdatePromptModel::unopenedMessage() const
{
    if (m_unopenedAddress.isEmpty())
        return {};
    return L("没有可以打开这个地址的浏览器。请复制地址，在浏览器中打开：") + QStringLiteral("\n\n")
           + m_unopenedAddress;
}

void UpdatePromptModel::copyAddress() const
{
    if (!m_unopenedAddress.isEmpty())
        QGuiApplication::clipboard()->setText(m_unopenedAddress);
}

void UpdatePromptModel::dismissUnopened()
{
    if (m_unopenedAddress.isEmpty())
        return;
    m_unopenedAddress.clear();
    Q_EMIT unopenedAddressChanged();
}

void UpdatePromptModel::dismissRelease()
{
    if (m_updater)
        m_updater->clearAvailable();
}

void UpdatePromptModel::dismissNotice()
{
    if (m_updater)
        m_updater->clearNotice();
}

QString UpdatePromptModel::message(const ReleaseManifest &release, const QString &currentVersion)
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
