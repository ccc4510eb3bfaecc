// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tikora {

// One clock per user and display: a lock held for the life of the process on a file in the
// user's runtime folder. The kernel lets go of it when the process ends, however it ends.
class SingleInstance {
  public:
    // Takes the lock for `display`; Held() is false when another process of this user holds it,
    // or when no lock file can be made (then the clock runs rather than not at all).
    explicit SingleInstance(const std::string& display);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool AnotherIsRunning() const { return anotherIsRunning_; }

  private:
    int descriptor_ = -1;
    bool anotherIsRunning_ = false;
};

}  // namespace tikora
