// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>
#include <future>

#include <pthread.h>
#include <sched.h>

// A thread started on a core other than the caller's where the machine has one. A new
// thread is otherwise queued on its creator's core, and waits there for as long as the
// creator keeps that core busy: milliseconds, on a small machine, for work meant to run
// beside the creator. Once running it may move anywhere. join() (and the destructor)
// wait for its body to end.
class AnotherCoreThread
{
public:
    AnotherCoreThread() = default;
    AnotherCoreThread(const AnotherCoreThread &) = delete;
    AnotherCoreThread &operator=(const AnotherCoreThread &) = delete;
    ~AnotherCoreThread() { join(); }

    // False, with nothing run, when no thread could be made.
    bool start(std::function<void()> body);
    void join();

private:
    static void *run(void *self);

    std::function<void()> body;
    pthread_t thread{};
    bool running = false;
    // Where the creator may run, given back to the thread once it runs.
    cpu_set_t creatorCores{};
    bool narrowed = false;
};

// work's result, computed on another core from construction on; take() waits for it.
// With no thread to be had, work runs in the constructor.
template <typename Result> class TaskOnAnotherCore
{
public:
    explicit TaskOnAnotherCore(std::function<Result()> work)
        : task(std::move(work))
        , result(task.get_future())
    {
        if (!thread.start([this] { task(); }))
            task();
    }
    Result take() { return result.get(); }

private:
    std::packaged_task<Result()> task;
    std::future<Result> result;
    // Last: destroyed, so joined, first.
    AnotherCoreThread thread;
};
