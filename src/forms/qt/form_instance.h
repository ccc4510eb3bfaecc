// SPDX-License-Identifier: MIT
#pragma once

#include <utility>

namespace tikora {

// The one process-wide instance of a window. Referring to it creates the window, hidden, and runs
// its load handler; unloading destroys it, and the next reference creates a fresh one.
template <class Form>
class FormInstance {
  public:
    Form& Get() {
        if (form_ == nullptr) {
            form_ = new Form();  // owned here until Unload hands it to Qt's deferred delete
            form_->Form_Load();
        }
        return *form_;
    }
    Form* operator->() { return &Get(); }

    // The window if it is loaded, without loading it.
    Form* Loaded() const { return form_; }

    void Unload() {
        if (Form* form = std::exchange(form_, nullptr)) {
            form->hide();
            // Deferred, because unloading is often asked for from one of the window's own handlers.
            form->deleteLater();
        }
    }

  private:
    Form* form_ = nullptr;
};

}  // namespace tikora
