#pragma once

#include <QCoro/QCoroTask>

#include <vector>

// Waits for tasks that were started together (QCoro tasks run from the moment they are made) and
// returns when every one has ended. The tasks here never throw: their failures are their own business.
inline QCoro::Task<> joinAll(std::vector<QCoro::Task<>> tasks)
{
    for (auto &task : tasks)
        co_await std::move(task);
}
