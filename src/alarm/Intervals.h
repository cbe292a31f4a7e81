#pragma once

#include <QtGlobal>
#include <algorithm>
#include <limits>

/// A spin box holds whatever number is typed into it until it loses the focus, so a delay read
/// from one may be far outside its range: the product is formed in 64 bits and kept between
/// minimumMs and the longest interval a timer takes, never wrapped round into a wrong one.
inline int BoundedInterval(qint64 ms, int minimumMs)
{
    return int(std::clamp<qint64>(ms, minimumMs, std::numeric_limits<int>::max()));
}
