// Working rows of the layers' row kernels (sums, loans, per-column weights),
// placed on 64-byte boundaries so that whole-vector loads of them never
// straddle two cache lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kafx {

template <typename T>
class AlignedRow {
public:
    // Room for n entries; entry `lead` (the first column, when the row keeps
    // lead entries before it) starts a cache line. The pointer stays valid
    // until the next Reset; contents are zero when zero is set, else as left.
    T* Reset(size_t n, size_t lead = 0, bool zero = false) {
        constexpr size_t kLine = 64 / sizeof(T);
        if (store_.size() < n + kLine) store_.resize(n + kLine);
        T* p = store_.data();
        while (reinterpret_cast<uintptr_t>(p + lead) % 64 != 0) ++p;
        if (zero)
            for (size_t i = 0; i < n; ++i) p[i] = T{};
        data_ = p;
        return p;
    }
    T* data() { return data_; }
    const T* data() const { return data_; }
    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }

private:
    std::vector<T> store_;
    T* data_ = nullptr;
};

}  // namespace kafx
