#pragma once

// The window's root view in a window of its own, made as the app makes it: its account state starts
// the restore at once.
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QUrl>

#include <memory>

namespace TestSupport {

// Makes the engine, the window and the window root in it; none when the view does not load.
inline QQuickItem *showWindowRoot(std::unique_ptr<QQmlEngine> &engine, std::unique_ptr<QQuickWindow> &window)
{
    engine = std::make_unique<QQmlEngine>();
    engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
    QQmlComponent component(engine.get(), QUrl(QStringLiteral("qrc:/qt/qml/Vorna/Shell/WindowRoot.qml")));
    auto *root = qobject_cast<QQuickItem *>(component.create());
    if (!root) {
        qWarning("%s", qPrintable(component.errorString()));
        return nullptr;
    }
    window = std::make_unique<QQuickWindow>();
    window->resize(1100, 720);
    root->setParent(window.get());
    root->setParentItem(window->contentItem());
    root->setSize(QSizeF(1100, 720));
    window->show();
    return root;
}

} // namespace TestSupport
