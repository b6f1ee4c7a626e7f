// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/anothercore.h"

#include <sched.h>

bool AnotherCoreThread::start(std::function<void()> work)
{
    join();
    body = std::move(work);
    pthread_attr_t attributes;
    if (::pthread_attr_init(&attributes) != 0)
        return false;
    CPU_ZERO(&creatorCores);
    const int here = ::sched_getcpu();
    narrowed = false;
    if (::sched_getaffinity(0, sizeof creatorCores, &creatorCores) == 0 && here >= 0 &&
        CPU_ISSET(here, &creatorCores) && CPU_COUNT(&creatorCores) > 1) {
        cpu_set_t elsewhere = creatorCores;
        CPU_CLR(here, &elsewhere);
        narrowed = ::pthread_attr_setaffinity_np(&attributes, sizeof elsewhere, &elsewhere) == 0;
    }
    running = ::pthread_create(&thread, &attributes, &AnotherCoreThread::run, this) == 0;
    ::pthread_attr_destroy(&attributes);
    return running;
}

void AnotherCoreThread::join()
{
    if (running)
        ::pthread_join(thread, nullptr);
    running = false;
}

void *AnotherCoreThread::run(void *self)
{
    auto *thread = static_cast<AnotherCoreThread *>(self);
    // Free to go wherever its creator may, the creator's core included.
    if (thread->narrowed)
        ::pthread_setaffinity_np(::pthread_self(), sizeof thread->creatorCores,
                                 &thread->creatorCores);
    thread->body();
    return nullptr;
}
