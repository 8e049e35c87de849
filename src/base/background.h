// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <future>
#include <memory>
#include <utility>

namespace quorlin {

// Runs `task` on a thread of its own. Threads still running when the program ends are waited
// for, while the application object is destroyed (or, without one, as the program exits).
// `task` must not throw.
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
