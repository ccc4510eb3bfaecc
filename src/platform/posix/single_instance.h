// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tikora {

// One clock per user and display: a lock held for the life of the process on a file in a folder
// only this user can enter. The kernel lets go of it when the process ends, however it ends.
//
// The folder is $XDG_RUNTIME_DIR when it is the user's own (a real folder, the user's, mode
// 0700), else "<fallbackBase>/tikora-UID", checked the same way. A folder or lock file found
// otherwise (another owner, open to others, a link, a file where a folder belongs) is made anew
// where this user may; where not, the clock runs unguarded and Unguarded() says why.
class SingleInstance {
  public:
    // `key` names the display (DisplayKey).
    explicit SingleInstance(const std::string& key, const std::string& fallbackBase = "/tmp");
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool AnotherIsRunning() const { return anotherIsRunning_; }
    // Empty while the lock is held; otherwise the lock file or folder and what is wrong with it.
    const std::string& Unguarded() const { return unguarded_; }
    // Where the lock lies (for tests).
    const std::string& Path() const { return path_; }

  private:
    int descriptor_ = -1;
    bool anotherIsRunning_ = false;
    std::string path_;
    std::string unguarded_;
};

}  // namespace tikora
