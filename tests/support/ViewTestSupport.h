#pragma once

// QML views built in a test from a snippet, with every warning the engine reports kept.
#include <QByteArray>
#include <QObject>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QStringList>
#include <QUrl>

#include <memory>

namespace TestSupport {

class Views
{
public:
    // `imports` stand before every snippet ("import QtQuick\nimport Vorna.Ui\n").
    explicit Views(QByteArray imports)
        : m_imports(std::move(imports))
    {
        m_engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        m_engine.setOutputWarningsToStandardError(false);
        QObject::connect(&m_engine, &QQmlEngine::warnings, [this](const QList<QQmlError> &list) {
            for (const QQmlError &error : list)
                m_warnings.append(error.toString());
        });
    }

    std::unique_ptr<QQuickItem> make(const QByteArray &body)
    {
        QQmlComponent component(&m_engine);
        component.setData(m_imports + body, QUrl(QStringLiteral("qrc:/test.qml")));
        std::unique_ptr<QObject> object(component.create());
        if (!object)
            m_warnings.append(component.errorString());
        return std::unique_ptr<QQuickItem>(qobject_cast<QQuickItem *>(object.release()));
    }

    const QStringList &warnings() const { return m_warnings; }

private:
    QByteArray m_imports;
    QQmlEngine m_engine;
    QStringList m_warnings;
};

} // namespace TestSupport
