#pragma once
// One shared instance per form class: referring to a form creates it when it
// is not loaded. There are two ways to unload it:
//
// - unload(), for callers outside the form: hides it and destroys it at once,
//   so that the next reference starts afresh. (A deferred delete would not
//   run while an operation yields through DoEvents, and the old form would
//   linger.)
// - unloadSelf(), for the form's own event handlers: hides it and detaches the
//   shared instance at once (the next reference starts afresh), but deletes it
//   only when the message loop next gets to it, since the handler that asked
//   is still running on it.
//
// A form that must act once it is loaded and reachable through its shared
// instance (its load may call code that refers to the form again) declares a
// public formLoaded(); it runs once, right after the instance is created.
// A form that must act when it is unloaded, by any way, declares a public
// formUnloading(); it runs once, right after the instance is detached.

#include <QPointer>

namespace ui {

namespace detail {
// Notes a form class whose instance UnloadAllForms must reach.
void RegisterFormClass(void (*unloadSelf)());
} // namespace detail

// Unloads every loaded form as unloadSelf() does, so that it is safe from any
// handler, even one of a form it unloads.
void UnloadAllForms();
// Deletes the forms unloaded by unloadSelf() that are still waiting; the
// program calls it once its message loop has ended, tests when they need it.
void DeleteUnloadedForms();

template <class Form>
class FormInstance {
public:
    // The loaded form, created (and so loaded) on first use.
    static Form& get()
    {
        if (!slot()) {
            detail::RegisterFormClass(&FormInstance::unloadSelf);
            slot() = new Form();
            if constexpr (requires(Form& f) { f.formLoaded(); }) slot()->formLoaded();
        }
        return *slot();
    }

    static bool isLoaded() { return slot() != nullptr; }

    // Hides and destroys the form; nothing when it is not loaded. Not for the
    // form's own handlers: they use unloadSelf().
    static void unload()
    {
        if (Form* form = detach()) {
            form->hide();
            delete form;
        }
    }

    // Hides the form and detaches it at once; deletes it later.
    static void unloadSelf()
    {
        if (Form* form = detach()) {
            form->hide();
            form->deleteLater();
        }
    }

private:
    static Form* detach()
    {
        Form* form = slot();
        if (!form) return nullptr;
        slot() = nullptr;
        if constexpr (requires(Form& f) { f.formUnloading(); }) form->formUnloading();
        return form;
    }

    static Form*& slot()
    {
        static Form* form = nullptr;
        return form;
    }
};

} // namespace ui
