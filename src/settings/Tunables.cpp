#include "Tunables.h"

#include <algorithm>

namespace {
TunableDefinition slider(Tunable id, const char* name, const char* caption,
                         QStringList endLabels = {}, int minimum = 0, int defaultValue = 50,
                         int pageStep = 1, int tick = 5)
{
    return {id,       QString::fromLatin1(name), true, minimum, 100, defaultValue, pageStep, tick,
            QString::fromLatin1(caption), std::move(endLabels)};
}

TunableDefinition spinBox(Tunable id, const char* name, const char* caption, int minimum,
                          int maximum, int defaultValue)
{
    return {id, QString::fromLatin1(name), false, minimum, maximum, defaultValue, 1, 0,
            QString::fromLatin1(caption), {}};
}
} // namespace

const std::vector<TunableDefinition>& TunableDefinitions()
{
    using T = Tunable;
    static const std::vector<TunableDefinition> definitions{
        slider(T::trkMicTriggerVolume, "trkMicTriggerVolume", "Microphone Trigger\nVolume Detection"),
        slider(T::trkMicTriggerDuration, "trkMicTriggerDuration",
               "Microphone Trigger\nLength Detection"),
        slider(T::trkMouseSensivity, "trkMouseSensivity", "Mouse Movement\nTrigger Sensivity",
               {"min", "max"}),
        slider(T::trkAlarmVolume, "trkAlarmVolume", "Alarm Volume", {"mute", "max"}),
        slider(T::trkGlobalAlteration, "trkGlobalAlteration", "Alarm Sound\nBase Alteration",
               {"-", "none", "+"}, -100, 0, 2, 10),
        slider(T::trkRandomAlteration, "trkRandomAlteration", "Alarm Sound\nRandom Alteration",
               {"none", "max"}),
        slider(T::trkPersistence, "trkPersistence", "Alarm Duration", {"short", "long"}),
        slider(T::trkPersistenceRandom, "trkPersistenceRandom", "Alarm Duration\n+ Random",
               {"none", "max"}),
        slider(T::trkMicSensivity, "trkMicSensivity", "Microphone\nSensitivity", {}, 0, 0),
        spinBox(T::spnActivationDelay, "spnActivationDelay", "Activation Delay\n(seconds)", 0, 180,
                10),
        spinBox(T::spnTriggerDelay, "spnTriggerDelay", "Trigger Delay\n(seconds)", 0, 180, 0),
        spinBox(T::spnSimulateEvery, "spnSimulateEvery", "Alarm Simulation\n(every X minutes)", 5,
                1440, 5),
        spinBox(T::spnSimulateRandom, "spnSimulateRandom", "Alarm Simulation\n+ Random Time", 0,
                1440, 0),
    };
    return definitions;
}

const TunableDefinition& definitionOf(Tunable id)
{
    const auto& all = TunableDefinitions();
    return *std::find_if(all.begin(), all.end(), [id](const auto& d) { return d.id == id; });
}
