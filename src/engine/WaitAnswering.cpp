#include "engine/WaitAnswering.h"

#include "engine/FileWorkView.h"
#include "engine/MessagePacer.h"

#include <future>
#include <thread>

namespace quarn {

FileError WaitAnswering(FileWorkView& view, const std::function<FileError()>& work) {
    std::packaged_task<FileError()> task(work);
    std::future<FileError> result = task.get_future();
    const std::jthread helper(std::move(task));
    do {
        view.ProcessMessages();
    } while (result.wait_for(MessagePacer::Interval) != std::future_status::ready);
    return result.get();
}

} // namespace quarn
