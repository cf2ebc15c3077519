#include "QuitQuestion.h"

#include "L.h"

void QuitQuestion::setNavigation(MemberNavigation *navigation)
{
    if (m_navigation == navigation)
        return;
    if (m_navigation)
        disconnect(m_navigation, nullptr, this, nullptr);
    m_navigation = navigation;
    if (m_navigation) {
        connect(m_navigation, &MemberNavigation::heldChanged, this, &QuitQuestion::follow);
        // Tabs that go (a sign-out, another account) take their pages with them.
        connect(m_navigation, &QObject::destroyed, this, &QuitQuestion::follow);
    }
    follow();
}

QList<ShellPage> QuitQuestion::sendingPages() const
{
    return m_navigation ? m_navigation->sendingPages() : QList<ShellPage>();
}

void QuitQuestion::follow()
{
    const QList<ShellPage> pages = sendingPages();
    if (pages.contains(ShellPage::PirepForm))
        m_sending = Sending::Report;
    else if (pages.contains(ShellPage::PirepDetail))
        m_sending = Sending::Evidence;
    else if (!pages.isEmpty())
        m_sending = Sending::Other;
    Q_EMIT changed();
}

QString QuitQuestion::title() const
{
    switch (m_sending) {
    case Sending::Report:
        return L(QStringLiteral("飞行报告仍在提交"));
    case Sending::Evidence:
        return L(QStringLiteral("补充截图仍在上传"));
    case Sending::Other:
        break;
    }
    return L(QStringLiteral("仍有内容在提交"));
}

QString QuitQuestion::message() const
{
    switch (m_sending) {
    case Sending::Report:
        return L(QStringLiteral(
            "现在退出将看不到这份报告是否提交成功；如果没有被接受，已填写的内容和截图也不会保留。"));
    case Sending::Evidence:
        return L(QStringLiteral("现在退出将看不到这些截图是否上传成功；如果没有被接受，需要重新选择截图。"));
    case Sending::Other:
        break;
    }
    return L(QStringLiteral("现在退出将看不到它是否提交成功。"));
}
