#pragma once

#include <exception>

// Thrown by an engine operation whose cancel token was set. Never shown to the user:
// a job that ends with this error ends silently.
class CancelledError : public std::exception {
public:
    const char *what() const noexcept override { return "operation cancelled"; }
};
