#pragma once

#include "AlertTransport.h"
#include "Outbox.h"
#include "guard/AlertSettings.h"

/// The POST that tells the event in the chosen format: ntfy's plain text with its Title,
/// Priority and Tags headers, or a JSON object. Both carry the event's id in X-Ostrel-Event-Id,
/// the token as a bearer token when one is set, and the host name only when it may be sent.
/// `dropped` events pushed out of a full outbox are told in the detail.
AlertRequest AlertMessage(const AlertEvent& event, const AlertSettings& settings,
                          const QString& hostName, int dropped);
