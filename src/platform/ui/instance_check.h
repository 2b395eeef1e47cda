// The single-instance rule, as the program asks it of the desktop.
#pragma once

#include <string>

namespace qv {

// Finds a running instance by window class and title and brings it to the front.
class InstanceCheck {
  public:
    virtual ~InstanceCheck() = default;
    virtual bool RaiseRunningInstance(const std::u16string& className,
                                      const std::u16string& title) = 0;
};

}  // namespace qv
