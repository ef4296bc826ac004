#pragma once
// The discrete Fourier transform of real signals of one length, through
// FFTW. Plans are made once per length with the estimating planner, so
// making one is quick and its results do not depend on timing.

#include <complex>
#include <cstddef>
#include <vector>

class RealSpectrum {
  public:
    explicit RealSpectrum(std::size_t length);
    ~RealSpectrum();
    RealSpectrum(const RealSpectrum&) = delete;
    RealSpectrum& operator=(const RealSpectrum&) = delete;

    std::size_t length() const { return size; }
    // The bins 0 .. length / 2 of `signal` (length samples; a shorter one
    // is padded with zeros), unscaled.
    const std::vector<std::complex<double>>& transform(const double* signal, std::size_t count);

  private:
    std::size_t size;
    double* timeDomain;
    void* frequencyDomain;
    void* plan;
    std::vector<std::complex<double>> bins;
};
