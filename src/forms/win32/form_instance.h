// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

namespace tikora {

// The one process-wide instance of a window. Referring to it creates the window, hidden, and runs
// its load handler; unloading destroys it, and the next reference creates a fresh one.
template <class Form>
class FormInstance {
  public:
    Form& Get() {
        if (form_ == nullptr) {
            form_ = std::make_unique<Form>();
            form_->Form_Load();
        }
        return *form_;
    }
    Form* operator->() { return &Get(); }

    // The window if it is loaded, without loading it.
    Form* Loaded() const { return form_.get(); }

    // Its object goes at once: a handler of the window may unload it only as its very last step.
    void Unload() { form_.reset(); }

  private:
    std::unique_ptr<Form> form_;
};

}  // namespace tikora
