#include "app/platform/LockKeys.h"

#include <QGuiApplication>

#include "instrument/SharedLibrary.h"

namespace {

// The two libX11 entry points used; X's Atom is an unsigned long and its Bool an int.
using InternAtomFn = unsigned long (*)(Display*, const char*, int);
using GetNamedIndicatorFn = int (*)(Display*, unsigned long, int*, int*, void*, int*);

class X11Indicators {
public:
    X11Indicators()
    {
        if (!m_library.Open({"libX11.so.6"}))
            return;
        m_internAtom = reinterpret_cast<InternAtomFn>(m_library.Symbol("XInternAtom"));
        m_getIndicator = reinterpret_cast<GetNamedIndicatorFn>(m_library.Symbol("XkbGetNamedIndicator"));
    }

    // The state of the indicator of that name ("Caps Lock", ...); false when unknown.
    bool IsOn(Display* display, const char* name) const
    {
        if (!m_internAtom || !m_getIndicator)
            return false;
        const unsigned long atom = m_internAtom(display, name, 1);  // only if the server has it
        int state = 0;
        return atom != 0 &&
               m_getIndicator(display, atom, nullptr, &state, nullptr, nullptr) && state;
    }

private:
    instrument::SharedLibrary m_library;
    InternAtomFn m_internAtom = nullptr;
    GetNamedIndicatorFn m_getIndicator = nullptr;
};

}  // namespace

LockKeys ReadLockKeys()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return {};
    static const X11Indicators indicators;
    return {indicators.IsOn(display, "Caps Lock"), indicators.IsOn(display, "Num Lock"),
            indicators.IsOn(display, "Scroll Lock")};
}
