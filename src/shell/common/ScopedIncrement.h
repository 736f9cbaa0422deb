#pragma once

namespace quarn {

// Raises a counter for the life of the object, and lowers it again on every path.
class ScopedIncrement {
public:
    explicit ScopedIncrement(int& counter) : counter_(counter) { ++counter_; }
    ~ScopedIncrement() { --counter_; }
    ScopedIncrement(const ScopedIncrement&) = delete;
    ScopedIncrement& operator=(const ScopedIncrement&) = delete;

private:
    int& counter_;
};

} // namespace quarn
