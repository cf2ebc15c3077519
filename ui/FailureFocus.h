#pragma once

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QQmlParserStatus>
#include <QQuickItem>
#include <QTimer>

// The one rule for the notice of a failure of what the member just did: each time it fails, also with the
// text of the time before, the notice is presented anew. Once the window has laid it out, every list or page
// that scrolls it brings it wholly into view, and it takes the keyboard, so a screen reader reads it at once
// and Tab goes on from it. A notice inside a form that is off while it works takes the keyboard once the form
// is on again. A notice that goes while the keyboard is in it (its "重试" cleared it) leaves the keyboard on
// the page it stood in, so Tab goes on there.
class FailureFocus : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    QML_ELEMENT
    Q_PROPERTY(QQuickItem *notice READ notice WRITE setNotice NOTIFY noticeChanged)
    // How many times the action has failed: each new count is presented, whatever the text.
    Q_PROPERTY(int failures READ failures WRITE setFailures NOTIFY failuresChanged)

public:
    explicit FailureFocus(QObject *parent = nullptr);

    QQuickItem *notice() const { return m_notice; }
    void setNotice(QQuickItem *notice);
    int failures() const { return m_failures; }
    void setFailures(int failures);

    // Presents the notice as a new failure, once the window has laid it out.
    Q_INVOKABLE void present();

    void classBegin() override {}
    void componentComplete() override { m_complete = true; }

    // Scrolls every list or page around an item, innermost first, so that it stands wholly in view.
    static void reveal(QQuickItem *item, double margin = 16);
    // Whether the notice is being presented as a new failure: on its way to the keyboard, or given it in this
    // turn of the event loop.
    static bool presenting(const QQuickItem *notice);

Q_SIGNALS:
    void noticeChanged();
    void failuresChanged();

private Q_SLOTS:
    // The form the notice stands in may be on again.
    void retake();

private:
    // The window has drawn the frame that laid the notice out.
    void placed();
    // The keyboard onto the notice, now or as soon as it takes keys again.
    void takeKeyboard();
    void hidden();

    QPointer<QQuickItem> m_notice;
    int m_failures = 0;
    // The count a binding hands over as the notice is made is no failure of its own.
    bool m_complete = false;
    bool m_pending = false;
    // The keyboard was given in this turn of the event loop.
    bool m_justPresented = false;
    QTimer m_late;
    QMetaObject::Connection m_frame;
    QMetaObject::Connection m_enabled;
    QMetaObject::Connection m_visible;
};
