// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <future>
#include <memory>
#include <utility>

namespace quorlin {

// Runs `task` on a thread of its own that keeps off the calling thread's processor where the
// process may use another. A new thread otherwise starts on its creator's processor and, on
// some systems, takes it from the creator for milliseconds before it is moved: the GUI thread
// would lose that time from showing its window. Threads still running when the program ends
// are waited for. `task` must not throw.
void startInBackground(std::function<void()> task);

// The same, with the task's result, or the exception it threw, in a future.
template <typename F> auto runInBackground(F &&task)
{
    using Result = std::invoke_result_t<F &>;
    auto packaged = std::make_shared<std::packaged_task<Result()>>(std::forward<F>(task));
    std::future<Result> result = packaged->get_future();
    startInBackground([packaged] { (*packaged)(); });
    return result;
}

} // namespace quorlin
