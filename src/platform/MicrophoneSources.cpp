#include "MicrophoneSources.h"

#include <QRegularExpression>
#include <QStringList>
#include <pulse/def.h>

bool NamesMicrophone(const QString& name)
{
    // Not inside a longer word ("dynamic"), but between any separators, "_" and "." too.
    static const QRegularExpression microphone(QStringLiteral("(?<![a-z])mic(rophone)?s?(?![a-z])"),
                                               QRegularExpression::CaseInsensitiveOption);
    return microphone.match(name).hasMatch();
}

bool IsMicrophoneSource(const SourceTraits& source)
{
    if (source.monitor)
        return false;
    if (source.activePortType == PA_DEVICE_PORT_TYPE_MIC ||
        source.activePortType == PA_DEVICE_PORT_TYPE_HEADSET)
        return true;
    // Form factors whose capture is a microphone; "internal" and the like say nothing.
    static const QStringList microphoneForms{QStringLiteral("microphone"), QStringLiteral("headset"),
                                             QStringLiteral("webcam")};
    if (microphoneForms.contains(source.formFactor))
        return true;
    return NamesMicrophone(source.name) || NamesMicrophone(source.description);
}
