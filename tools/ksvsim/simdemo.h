#pragma once

#include "simdescription.h"

#include <chrono>
#include <random>

// The built-in demo module: a valve amplifier with about thirty parameters, moving process
// values, a status word and remote-controllable inputs. It also decides the demo's
// after-effects of writes (groups NewTab and NewData) and the access bits they add.
class TSimDemo {
public:
    explicit TSimDemo(unsigned seed);

    static TSimDescription Build();
    static QString DefaultIdText() { return "DEMO500 V1.20 ZOLT 2024-05-17 SN012345"; }

    // Raw value of a process value now.
    int ProcessValue(const QString &name, const TSimValueSet &working, bool remote);
    int StatusWord(const TSimValueSet &working, bool remote, int digitalInputs);
    // Lets a write change other values (FSCALE rescales, ZERO clears the offset).
    void AfterWrite(const QString &name, TSimValueSet &working) const;
    // Access-code bits the current values add (EXPERT ON shows the "Special" group).
    static int AccessBits(const TSimValueSet &working);
    // Whether the entry is part of the description for the current application.
    static bool Visible(const TSimEntry &entry, const TSimValueSet &working);

private:
    double Seconds() const;
    int Noise(int amplitude);

    std::chrono::steady_clock::time_point FStart = std::chrono::steady_clock::now();
    std::mt19937 FRandom;
};
