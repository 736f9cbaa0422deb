#pragma once

namespace quarn {

// Makes Computer read the mount table again, unless re-validation is suspended. Raises
// EOleSysError when Computer cannot be reached. Interface thread only.
void RevalidateMyComputer();
void SuspendRevalidation();
void ResumeRevalidation();

// Suspends re-validation for its lifetime, around a control's refresh after a device change.
class RevalidationSuspension {
public:
    RevalidationSuspension() { SuspendRevalidation(); }
    ~RevalidationSuspension() { ResumeRevalidation(); }
    RevalidationSuspension(const RevalidationSuspension&) = delete;
    RevalidationSuspension& operator=(const RevalidationSuspension&) = delete;
};

} // namespace quarn
