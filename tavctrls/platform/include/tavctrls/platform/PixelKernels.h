#pragma once

#include <cstdint>

namespace tav::platform {

// The inner loops of the pixel operations, one row at a time. `out` and `in` never overlap; counts
// are at least 1.
struct RowKernels {
    const char* name;
    // out[0..count) = pixel.
    void (*fill)(std::uint32_t* out, int count, std::uint32_t pixel);
    // Copies the pixels whose low 24 bits differ from `key` (whose top byte is 0).
    void (*copyKeyed)(std::uint32_t* out, const std::uint32_t* in, int count, std::uint32_t key);
    // Blends every pixel with a non-zero colour onto `out`, alpha already clamped to 0..256.
    void (*blend)(std::uint32_t* out, const std::uint32_t* in, int count, int alpha);
    // out[i] = in[columns[i]].
    void (*gather)(std::uint32_t* out, const std::uint32_t* in, const std::int32_t* columns, int count);
};

// The instruction sets the kernels are written for.
enum class KernelSet { Scalar, Sse2, Avx2 };

// True when this build has the set and the processor runs it.
bool KernelSetAvailable(KernelSet set);
// The kernels of an available set (the scalar ones for any other).
const RowKernels& KernelsFor(KernelSet set);

// The kernels the pixel operations use: the best available unless another set was chosen.
const RowKernels& ActiveKernels();
KernelSet ActiveKernelSet();
// Chooses the kernels the pixel operations use; an unavailable set gives false and changes nothing.
bool UseKernelSet(KernelSet set);

namespace detail {
// The AVX2 table, or null when this build has none.
const RowKernels* Avx2Kernels();
} // namespace detail

} // namespace tav::platform
