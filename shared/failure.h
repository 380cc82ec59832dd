// A step that fails ends the operation that runs it; the failure travels up to
// the edge that the platform called (a COM method, an event, a window
// message), where it becomes an HRESULT or the editor's error display.
#pragma once

#include <stdexcept>
#include <string>

namespace brellin {

class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace brellin
