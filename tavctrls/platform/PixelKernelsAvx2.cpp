// AVX2 versions of the row kernels. Only the functions marked with the target attribute use AVX2, so
// nothing here runs unless the processor was found to support it.
#include "tavctrls/platform/PixelKernels.h"

#if defined(__GNUC__) && defined(__x86_64__)
#define TAV_HAVE_AVX2 1
#include <immintrin.h>
#endif

namespace tav::platform {

#if TAV_HAVE_AVX2
namespace {

#define TAV_AVX2 __attribute__((target("avx2")))

constexpr std::uint32_t kColourBits = 0x00FFFFFF;

TAV_AVX2 __m256i Load(const std::uint32_t* at) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

TAV_AVX2 void Store(std::uint32_t* at, __m256i value) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), value);
}

TAV_AVX2 void Fill(std::uint32_t* out, int count, std::uint32_t pixel) {
    const __m256i value = _mm256_set1_epi32(static_cast<int>(pixel));
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        Store(out + i, value);
        Store(out + i + 8, value);
    }
    for (; i + 8 <= count; i += 8)
        Store(out + i, value);
    for (; i < count; ++i)
        out[i] = pixel;
}

TAV_AVX2 void CopyKeyed(std::uint32_t* out, const std::uint32_t* in, int count, std::uint32_t key) {
    const __m256i colour = _mm256_set1_epi32(static_cast<int>(kColourBits));
    const __m256i keys = _mm256_set1_epi32(static_cast<int>(key));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = Load(in + i);
        const __m256i keyed = _mm256_cmpeq_epi32(_mm256_and_si256(s, colour), keys);
        // Without branches: the destination line is read for the store anyway.
        Store(out + i, _mm256_blendv_epi8(s, Load(out + i), keyed));
    }
    for (; i < count; ++i)
        if ((in[i] & kColourBits) != key)
            out[i] = in[i];
}

// d + (s - d) * alpha / 256 per colour byte, truncated toward zero: the magnitude |s - d| * alpha
// fits 16 unsigned bits, so the quotient is taken on it and then added or subtracted.
TAV_AVX2 __m256i BlendEight(__m256i d, __m256i s, __m256i black, __m256i alpha) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i changing = _mm256_andnot_si256(black, _mm256_set1_epi32(static_cast<int>(kColourBits)));
    const __m256i up = _mm256_and_si256(_mm256_subs_epu8(s, d), changing);
    const __m256i down = _mm256_and_si256(_mm256_subs_epu8(d, s), changing);
    const __m256i diff = _mm256_or_si256(up, down);
    // (diff << 8) * alpha >> 16 == diff * alpha >> 8
    const __m256i low = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, diff), alpha);
    const __m256i high = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, diff), alpha);
    const __m256i step = _mm256_packus_epi16(low, high);
    const __m256i rising = _mm256_cmpeq_epi8(down, zero);
    return _mm256_sub_epi8(_mm256_add_epi8(d, _mm256_and_si256(rising, step)),
                           _mm256_andnot_si256(rising, step));
}

TAV_AVX2 void Blend(std::uint32_t* out, const std::uint32_t* in, int count, int alpha) {
    const __m256i alphas = _mm256_set1_epi16(static_cast<short>(alpha));
    const __m256i colour = _mm256_set1_epi32(static_cast<int>(kColourBits));
    const __m256i zero = _mm256_setzero_si256();
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = Load(in + i);
        const __m256i black = _mm256_cmpeq_epi32(_mm256_and_si256(s, colour), zero);
        if (_mm256_movemask_epi8(black) == -1)
            continue;
        Store(out + i, BlendEight(Load(out + i), s, black, alphas));
    }
    // The tail in one more group, read from and written to copies.
    if (i < count) {
        alignas(32) std::uint32_t source[8] = {}, dest[8] = {};
        for (int k = 0; k < count - i; ++k) {
            source[k] = in[i + k];
            dest[k] = out[i + k];
        }
        const __m256i s = Load(source);
        const __m256i black = _mm256_cmpeq_epi32(_mm256_and_si256(s, colour), zero);
        Store(dest, BlendEight(Load(dest), s, black, alphas));
        for (int k = 0; k < count - i; ++k)
            out[i + k] = dest[k];
    }
}

// Eight plain loads beat the gather instruction, which is slow on many processors.
TAV_AVX2 void Gather(std::uint32_t* out, const std::uint32_t* in, const std::int32_t* columns, int count) {
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const std::int32_t* at = columns + i;
        Store(out + i, _mm256_setr_epi32(static_cast<int>(in[at[0]]), static_cast<int>(in[at[1]]),
                                         static_cast<int>(in[at[2]]), static_cast<int>(in[at[3]]),
                                         static_cast<int>(in[at[4]]), static_cast<int>(in[at[5]]),
                                         static_cast<int>(in[at[6]]), static_cast<int>(in[at[7]])));
    }
    for (; i < count; ++i)
        out[i] = in[columns[i]];
}

constexpr RowKernels kKernels{"avx2", Fill, CopyKeyed, Blend, Gather};

} // namespace
#endif

namespace detail {

const RowKernels* Avx2Kernels() {
#if TAV_HAVE_AVX2
    return &kKernels;
#else
    return nullptr;
#endif
}

} // namespace detail

} // namespace tav::platform
