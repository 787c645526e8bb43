#pragma once

#include <QPointer>

namespace qorin::ui {

// The window model for forms that have one shared default instance (the About window and the
// splash window). The instance comes into being, loaded from its design settings, the first
// time it is referred to; showing it loads it first. Unloading destroys it, so the next
// reference loads it afresh; unloading a form that is not loaded does nothing.
//
// A Form builds itself and its controls in its constructor and sets Qt::WA_DeleteOnClose, so
// closing it, by this model or by the window system, destroys it.
template <class Form> class SharedForm
{
public:
    static Form& instance()
    {
        if (!s_form)
            s_form = new Form; // owned by itself: deleted when closed
        return *s_form;
    }

    static bool isLoaded() { return !s_form.isNull(); }

    // Shows the form modeless and without an owner, loading it first when needed.
    static void show() { instance().show(); }

    static void setVisible(bool visible) { instance().setVisible(visible); }

    static void unload()
    {
        if (s_form)
            unload(*s_form);
    }

    // Unloads this instance of the form; a form's own handlers use it to unload themselves.
    static void unload(Form& form)
    {
        if (s_form == &form)
            s_form.clear();
        form.close();
    }

private:
    static inline QPointer<Form> s_form;
};

} // namespace qorin::ui
