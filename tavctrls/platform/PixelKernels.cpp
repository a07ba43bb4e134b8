#include "tavctrls/platform/PixelKernels.h"

#include <algorithm>
#include <atomic>

#if defined(__x86_64__) || defined(_M_X64) || defined(__SSE2__)
#define TAV_HAVE_SSE2 1
#include <emmintrin.h>
#endif

namespace tav::platform {

namespace {

constexpr std::uint32_t kColourBits = 0x00FFFFFF;

// Scalar kernels: the fallback for other processors and for the tails of the vector kernels.
namespace scalar {

void Fill(std::uint32_t* out, int count, std::uint32_t pixel) {
    std::fill(out, out + count, pixel);
}

void CopyKeyed(std::uint32_t* out, const std::uint32_t* in, int count, std::uint32_t key) {
    for (int i = 0; i < count; ++i)
        if ((in[i] & kColourBits) != key)
            out[i] = in[i];
}

std::uint32_t BlendChannel(std::uint32_t d, std::uint32_t s, int alpha) {
    const int channel = static_cast<int>(d) + (static_cast<int>(s) - static_cast<int>(d)) * alpha / 256;
    return static_cast<std::uint32_t>(channel);
}

void Blend(std::uint32_t* out, const std::uint32_t* in, int count, int alpha) {
    for (int i = 0; i < count; ++i) {
        const std::uint32_t s = in[i];
        if ((s & kColourBits) == 0)
            continue;
        const std::uint32_t d = out[i];
        out[i] = (d & ~kColourBits) | BlendChannel(d >> 16 & 0xFF, s >> 16 & 0xFF, alpha) << 16 |
                 BlendChannel(d >> 8 & 0xFF, s >> 8 & 0xFF, alpha) << 8 |
                 BlendChannel(d & 0xFF, s & 0xFF, alpha);
    }
}

void Gather(std::uint32_t* out, const std::uint32_t* in, const std::int32_t* columns, int count) {
    for (int i = 0; i < count; ++i)
        out[i] = in[columns[i]];
}

constexpr RowKernels kKernels{"scalar", Fill, CopyKeyed, Blend, Gather};

} // namespace scalar

#if TAV_HAVE_SSE2
namespace sse2 {

__m128i Load(const std::uint32_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

void Store(std::uint32_t* at, __m128i value) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value);
}

void Fill(std::uint32_t* out, int count, std::uint32_t pixel) {
    const __m128i value = _mm_set1_epi32(static_cast<int>(pixel));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        Store(out + i, value);
        Store(out + i + 4, value);
    }
    for (; i + 4 <= count; i += 4)
        Store(out + i, value);
    scalar::Fill(out + i, count - i, pixel);
}

void CopyKeyed(std::uint32_t* out, const std::uint32_t* in, int count, std::uint32_t key) {
    const __m128i colour = _mm_set1_epi32(static_cast<int>(kColourBits));
    const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = Load(in + i);
        const __m128i keyed = _mm_cmpeq_epi32(_mm_and_si128(s, colour), keys);
        const int mask = _mm_movemask_epi8(keyed);
        // Runs of key or of picture are common; only mixed groups need the destination.
        if (mask == 0xFFFF)
            continue;
        if (mask == 0)
            Store(out + i, s);
        else
            Store(out + i, _mm_or_si128(_mm_and_si128(keyed, Load(out + i)), _mm_andnot_si128(keyed, s)));
    }
    scalar::CopyKeyed(out + i, in + i, count - i, key);
}

// d + (s - d) * alpha / 256 per colour byte, truncated toward zero: the magnitude |s - d| * alpha
// fits 16 unsigned bits, so the quotient is taken on it and then added or subtracted.
__m128i BlendFour(__m128i d, __m128i s, __m128i alpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i colour = _mm_set1_epi32(static_cast<int>(kColourBits));
    const __m128i black = _mm_cmpeq_epi32(_mm_and_si128(s, colour), zero);
    const __m128i changing = _mm_andnot_si128(black, colour);
    const __m128i up = _mm_and_si128(_mm_subs_epu8(s, d), changing);
    const __m128i down = _mm_and_si128(_mm_subs_epu8(d, s), changing);
    const __m128i diff = _mm_or_si128(up, down);
    // (diff << 8) * alpha >> 16 == diff * alpha >> 8
    const __m128i low = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, diff), alpha);
    const __m128i high = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, diff), alpha);
    const __m128i step = _mm_packus_epi16(low, high);
    const __m128i rising = _mm_cmpeq_epi8(down, zero);
    return _mm_sub_epi8(_mm_add_epi8(d, _mm_and_si128(rising, step)), _mm_andnot_si128(rising, step));
}

void Blend(std::uint32_t* out, const std::uint32_t* in, int count, int alpha) {
    const __m128i alphas = _mm_set1_epi16(static_cast<short>(alpha));
    const __m128i colour = _mm_set1_epi32(static_cast<int>(kColourBits));
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = Load(in + i);
        const __m128i black = _mm_cmpeq_epi32(_mm_and_si128(s, colour), zero);
        if (_mm_movemask_epi8(black) == 0xFFFF)
            continue;
        Store(out + i, BlendFour(Load(out + i), s, alphas));
    }
    scalar::Blend(out + i, in + i, count - i, alpha);
}

void Gather(std::uint32_t* out, const std::uint32_t* in, const std::int32_t* columns, int count) {
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const std::uint32_t a = in[columns[i]], b = in[columns[i + 1]];
        const std::uint32_t c = in[columns[i + 2]], d = in[columns[i + 3]];
        Store(out + i, _mm_set_epi32(static_cast<int>(d), static_cast<int>(c), static_cast<int>(b),
                                     static_cast<int>(a)));
    }
    scalar::Gather(out + i, in, columns + i, count - i);
}

constexpr RowKernels kKernels{"sse2", Fill, CopyKeyed, Blend, Gather};

} // namespace sse2
#endif

const RowKernels* Table(KernelSet set) {
    switch (set) {
    case KernelSet::Scalar:
        return &scalar::kKernels;
    case KernelSet::Sse2:
#if TAV_HAVE_SSE2
        return &sse2::kKernels;
#else
        return nullptr;
#endif
    case KernelSet::Avx2:
        return detail::Avx2Kernels();
    }
    return nullptr;
}

KernelSet BestSet() {
    if (KernelSetAvailable(KernelSet::Avx2))
        return KernelSet::Avx2;
    if (KernelSetAvailable(KernelSet::Sse2))
        return KernelSet::Sse2;
    return KernelSet::Scalar;
}

std::atomic<KernelSet>& Chosen() {
    static std::atomic<KernelSet> chosen{BestSet()};
    return chosen;
}

} // namespace

bool KernelSetAvailable(KernelSet set) {
    if (Table(set) == nullptr)
        return false;
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    if (set == KernelSet::Avx2)
        return __builtin_cpu_supports("avx2");
#endif
    return true;
}

const RowKernels& KernelsFor(KernelSet set) {
    return KernelSetAvailable(set) ? *Table(set) : scalar::kKernels;
}

const RowKernels& ActiveKernels() {
    return *Table(Chosen().load(std::memory_order_relaxed));
}

KernelSet ActiveKernelSet() {
    return Chosen().load(std::memory_order_relaxed);
}

bool UseKernelSet(KernelSet set) {
    if (!KernelSetAvailable(set))
        return false;
    Chosen().store(set, std::memory_order_relaxed);
    return true;
}

} // namespace tav::platform
