// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes as the measurement an attached application
// hands back to prismark-profile, for a sheet whose rule and group counts the first
// byte chooses (its low and high four bits). Besides no crash, hang or sanitizer
// report: a measurement is either refused with a reason or read with exactly the
// sheet's rules, in order, and groups, each ranked or within noise; and what is
// read, written again, reads back to the same text.

#include "fuzzrequire.h"
#include "profiling/profilemeasurement.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int rules = data[0] % 16;
    const int units = data[0] / 16;
    const QByteArray input(reinterpret_cast<const char *>(data) + 1, int(size) - 1);
    ProfileMeasurement measurement;
    QString error;
    if (!readMeasurement(input, rules, units, &measurement, &error)) {
        require(!error.isEmpty());
        require(measurement.work.rules.isEmpty() && measurement.time.units.isEmpty());
        return 0;
    }
    require(measurement.work.rules.size() == rules);
    for (int rule = 0; rule < rules; ++rule)
        require(measurement.work.rules.at(rule).rule == rule);
    require(measurement.time.units.size() == units);
    for (const UnitCost &unit : measurement.time.units)
        require(unit.withinNoise == (unit.rank == 0));
    const QByteArray written = measurementJson(measurement);
    ProfileMeasurement again;
    require(readMeasurement(written, rules, units, &again, &error));
    require(measurementJson(again) == written);
    return 0;
}
