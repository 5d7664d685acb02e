#pragma once

#include <QtGlobal>
#include <cstddef>
#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

// A buffer of many megabytes about to be filled front to back (a decoded or encoded
// document). On Linux it asks for transparent huge pages: page faults, not the
// conversion, dominate filling a fresh 100 MB block, and huge pages cut their cost
// about threefold on our machines. Small buffers and other systems are left alone.
inline void AdviseLargeBuffer(void *data, std::size_t bytes)
{
#ifdef Q_OS_LINUX
    constexpr std::size_t kThreshold = std::size_t(8) << 20;
    if (!data || bytes < kThreshold)
        return;
    const std::uintptr_t page = 4096;
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(page - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE); // advice only
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}
