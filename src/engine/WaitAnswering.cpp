#include "engine/WaitAnswering.h"

#include "engine/FileWorkView.h"
#include "engine/MessagePacer.h"

#include <future>
#include <thread>

namespace quarn {

FileOperationResult WaitAnswering(FileWorkView& view,
                                  const std::function<FileOperationResult()>& work) {
    std::packaged_task<FileOperationResult()> task(work);
    std::future<FileOperationResult> result = task.get_future();
    const std::jthread helper(std::move(task));
    do {
        view.ProcessMessages();
    } while (result.wait_for(MessagePacer::Interval) != std::future_status::ready);
    return result.get();
}

} // namespace quarn
