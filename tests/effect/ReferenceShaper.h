#pragma once
// A deliberately plain, single-threaded rendering of the waveshaper's
// arithmetic, written apart from the effect's code: every change acts at
// once, every field is a float32 as described, intermediates are doubles.
// The effect must agree with it to within 2e-6 on any input.

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

class ReferenceShaper {
  public:
    ReferenceShaper() {
        for (int j = 0; j < 1024; ++j) {
            table[j] = static_cast<float>(j) * (1.0f / 1023.0f);
        }
        deriveSlopes();
        for (Filter* f : {&preL, &preR, &postL, &postR}) {
            f->design();
        }
        const float initial[8] = {0.0f, 0.5f, 0.5f, 0.5f, 0.5f, 0.0f, 0.0f, 0.0f};
        for (int i = 1; i < 8; ++i) {
            set(i, initial[i]);
        }
    }

    void setTable(const std::vector<float>& heights) {
        for (int j = 0; j < 1024; ++j) {
            table[j] = heights[static_cast<std::size_t>(j)];
        }
        deriveSlopes();
    }

    void set(int index, float v) {
        value[index] = v;
        switch (index) {
        case 1:
            preGain = 2.0f * v;
            break;
        case 2:
            aim(pre, v);
            break;
        case 3:
            postGain = 2.0f * v;
            break;
        case 4:
            aim(post, v);
            break;
        case 5:
            preL.setMode(v == 0.0f ? 0 : 1);
            preR.setMode(v == 0.0f ? 0 : 1);
            break;
        case 6:
            postL.setMode(v == 0.0f ? 0 : 1);
            postR.setMode(v == 0.0f ? 0 : 1);
            break;
        default:
            break;
        }
    }

    void setRate(float newRate) {
        rate = newRate;
        for (Filter* f : {&preL, &preR, &postL, &postR}) {
            f->rph = static_cast<float>(std::numbers::pi / newRate);
        }
        aim(pre, value[2]);
        aim(post, value[4]);
    }

    void suspend() {
        for (Filter* f : {&preL, &preR, &postL, &postR}) {
            f->s1 = f->s2 = 0.0f;
        }
    }

    void process(const float* inL, const float* inR, float* outL, float* outR, int n, bool adding) {
        const bool ramping = std::fabs(pre.cutoff - pre.target) > 1.0f ||
                             std::fabs(post.cutoff - post.target) > 1.0f;
        for (int i = 0; i < n; ++i) {
            const double l = chain(inL[i], preL, postL);
            const double r = chain(inR[i], preR, postR);
            outL[i] = static_cast<float>(adding ? outL[i] + l : l);
            outR[i] = static_cast<float>(adding ? outR[i] + r : r);
            if (ramping) {
                step(pre, preL, preR);
                step(post, postR, postL);
            }
        }
    }

  private:
    struct Filter {
        float a0 = 0, a1 = 0, a2 = 0, b1 = 0, b2 = 0, s1 = 0, s2 = 0, cutoff = 1000.0f;
        float rph = static_cast<float>(std::numbers::pi / 44100.0);
        int hp = 0;

        void design() {
            const double k = hp ? std::tan(cutoff * static_cast<double>(rph))
                                : 1.0 / std::tan(cutoff * static_cast<double>(rph));
            const double s = 1.4142135f;
            const double c = 1.0 / ((k + s) * k + 1.0);
            a0 = static_cast<float>(c);
            a1 = static_cast<float>(hp ? -2.0 * c : 2.0 * c);
            a2 = static_cast<float>(c);
            b1 = static_cast<float>(hp ? 2.0 * c * (k * k - 1.0) : 2.0 * c * (1.0 - k * k));
            b2 = static_cast<float>(c * (1.0 - s * k + k * k));
        }
        void setMode(int mode) {
            if (mode != hp) {
                hp = mode;
                s1 = s2 = 0.0f;
                design();
            }
        }
        double run(double x) {
            const double w = x - b1 * static_cast<double>(s1) - b2 * static_cast<double>(s2);
            const double y = a0 * w + a1 * static_cast<double>(s1) + a2 * static_cast<double>(s2);
            s2 = s1;
            s1 = static_cast<float>(w);
            return static_cast<float>(y);
        }
    };
    struct Ramp {
        float cutoff = 1000.0f, target = 1000.0f, step = 0.0f;
    };

    void aim(Ramp& ramp, float v) {
        float t = static_cast<float>(0.4 * rate * (static_cast<double>(v) * v));
        if (t < 10.0f) {
            t = 10.0f;
        }
        ramp.target = t;
        ramp.step = static_cast<float>((static_cast<double>(t) - ramp.cutoff) * 0.0001);
    }

    static void step(Ramp& ramp, Filter& first, Filter& second) {
        if (!(std::fabs(ramp.cutoff - ramp.target) > 1.0f)) {
            return;
        }
        float next = ramp.cutoff + ramp.step;
        // A ramp ends at its target rather than passing it or stalling.
        if ((ramp.step > 0 && (next > ramp.target || next <= ramp.cutoff)) ||
            (ramp.step < 0 && (next < ramp.target || next >= ramp.cutoff)) || ramp.step == 0) {
            next = ramp.target;
        }
        ramp.cutoff = next;
        for (Filter* f : {&first, &second}) {
            f->cutoff = next;
            f->design();
        }
    }

    double shape(double x) const {
        const double u = x * 1023.0;
        const int k = static_cast<int>(u);
        return table[k] + (u - k) * slope[k];
    }

    double chain(float input, Filter& p, Filter& q) {
        const double x = input;
        double s = p.run(x) * static_cast<double>(preGain);
        bool positive;
        if (s > 1.0) {
            s = 1.0;
            positive = true;
        } else if (s < -1.0 || std::isnan(s)) {
            s = -1.0;
            positive = false;
        } else {
            positive = !(s < 0.0);
        }
        const double y = positive ? shape(s) : -shape(-s);
        double w = q.run(y) * static_cast<double>(postGain);
        if (positive && w > 1.0) {
            w = 1.0;
        }
        if (!positive && w < -1.0) {
            w = -1.0;
        }
        const double d = value[7];
        return (1.0 - d) * w + d * x;
    }

    void deriveSlopes() {
        for (int k = 0; k < 1023; ++k) {
            slope[k] = table[k + 1] - table[k];
        }
        slope[1023] = 0.0f;
    }

    Filter preL, postL, preR, postR;
    Ramp pre, post;
    float value[8] = {};
    float preGain = 1.0f, postGain = 1.0f, rate = 44100.0f;
    float table[1024] = {};
    float slope[1024] = {};
};
