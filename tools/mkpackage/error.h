#pragma once
// The one kind of failure the generator reports: a message meant for the person running it.

#include <stdexcept>

namespace mkpackage {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace mkpackage
