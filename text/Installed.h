#pragma once

#include <QtGlobal>

#include <utility>

// A process-wide object: made by the composition root (main/), or by a test for itself, and installed
// here for code that reaches it without being handed it (a QML singleton's create(), a link from the
// desktop). The one installed last serves while it lives; the one before serves again after it.
//
//     UpdateCheck updater(UpdateCheck::defaultOptions());
//     const Installed<UpdateCheck> installed(updater);
template <typename T>
class Installed
{
public:
    explicit Installed(T &object)
        : m_previous(std::exchange(slot(), &object))
    {
    }
    Installed(const Installed &) = delete;
    Installed &operator=(const Installed &) = delete;
    ~Installed() { slot() = m_previous; }

    // Asking before anything was installed is a fault of the program's start, not a case to handle.
    static T &current()
    {
        if (!slot())
            qFatal("%s: nothing is installed; main/ (or the test) makes and installs it first", Q_FUNC_INFO);
        return *slot();
    }

private:
    static T *&slot()
    {
        static T *installed = nullptr;
        return installed;
    }
    T *m_previous;
};
