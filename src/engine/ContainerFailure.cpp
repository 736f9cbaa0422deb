#include "engine/ContainerFailure.h"

#include "platform/PosixFile.h"

#include <cerrno>

namespace quarn {

ContainerFailure IoFailure(int error) {
    if (error == ENOSPC || error == EDQUOT) {
        return ContainerFailure(DiscFullText);
    }
    return ContainerFailure(ErrnoText(error) + ".");
}

} // namespace quarn
