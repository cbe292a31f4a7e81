#pragma once

#include <QString>
#include <QStringList>
#include <vector>

/// The user-tunable values; each lives only in its control, named as the control.
enum class Tunable {
    trkMicTriggerVolume,
    trkMicTriggerDuration,
    trkMouseSensivity,
    trkAlarmVolume,
    trkGlobalAlteration,
    trkRandomAlteration,
    trkPersistence,
    trkPersistenceRandom,
    spnActivationDelay,
    spnTriggerDelay,
    spnSimulateEvery,
    spnSimulateRandom,
    // Belongs to the recording input: never stored by its change handler, never reset.
    trkMicSensivity,
};

struct TunableDefinition
{
    Tunable id;
    QString name;
    bool isSlider;
    int minimum;
    int maximum;
    int defaultValue;
    int pageStep;
    int tickInterval;
    QString caption;      // "\n" breaks the line
    QStringList endLabels; // under the slider: left, (middle,) right
};

/// All tunable controls in the window's component order: the sliders, then the spin boxes.
const std::vector<TunableDefinition>& TunableDefinitions();
const TunableDefinition& definitionOf(Tunable id);

/// Read access to the tunable values for the logic: the value a control holds right now.
class TunableValues
{
public:
    virtual ~TunableValues() = default;
    virtual int value(Tunable id) const = 0;
};

/// The controls themselves: setting a value brings it into range and, when it changes, runs the
/// control's change handler exactly once.
class TunableControls : public TunableValues
{
public:
    virtual void setValue(Tunable id, int value) = 0;
};
