#include "cli/analyze/RealSpectrum.h"

#include <fftw3.h>

#include <algorithm>
#include <mutex>
#include <new>

namespace {

// FFTW's planner keeps global state.
std::mutex plannerMutex;

} // namespace

RealSpectrum::RealSpectrum(std::size_t length) : size(length), bins(length / 2 + 1) {
    timeDomain = fftw_alloc_real(size);
    auto* spectrum = fftw_alloc_complex(size / 2 + 1);
    frequencyDomain = spectrum;
    {
        std::lock_guard<std::mutex> lock(plannerMutex);
        plan = fftw_plan_dft_r2c_1d(static_cast<int>(size), timeDomain, spectrum, FFTW_ESTIMATE);
    }
    if (!timeDomain || !spectrum || !plan)
        throw std::bad_alloc();
}

RealSpectrum::~RealSpectrum() {
    {
        std::lock_guard<std::mutex> lock(plannerMutex);
        fftw_destroy_plan(static_cast<fftw_plan>(plan));
    }
    fftw_free(frequencyDomain);
    fftw_free(timeDomain);
}

const std::vector<std::complex<double>>& RealSpectrum::transform(const double* signal,
                                                                 std::size_t count) {
    count = std::min(count, size);
    std::copy_n(signal, count, timeDomain);
    std::fill(timeDomain + count, timeDomain + size, 0.0);
    fftw_execute(static_cast<fftw_plan>(plan));
    const auto* spectrum = static_cast<const fftw_complex*>(frequencyDomain);
    for (std::size_t k = 0; k < bins.size(); ++k)
        bins[k] = {spectrum[k][0], spectrum[k][1]};
    return bins;
}
