#pragma once
// One shared instance per form class: referring to a form creates it when it
// is not loaded; unloading hides it and destroys it at once, so that the next
// reference starts afresh. (A deferred delete would not run while an operation
// yields through DoEvents, and the old form would linger.)

namespace ui {

template <class Form>
class FormInstance {
public:
    // The loaded form, created (and so loaded) on first use.
    static Form& get()
    {
        if (!slot()) slot() = new Form();
        return *slot();
    }

    static bool isLoaded() { return slot() != nullptr; }

    // Hides and destroys the form; nothing when it is not loaded. Must not be
    // called from inside an event handler of the form itself: such handlers
    // reach it through a queued call (see frmSplash).
    static void unload()
    {
        Form* form = slot();
        if (!form) return;
        slot() = nullptr;
        form->hide();
        delete form;
    }

private:
    static Form*& slot()
    {
        static Form* form = nullptr;
        return form;
    }
};

} // namespace ui
