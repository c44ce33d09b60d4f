#pragma once

#include "platform/platform.h"

namespace platform {

// The date and time data of an English locale ("mmmm d, yyyy", AM/PM), for
// platforms that have no locale of their own to ask.
LocaleDateData EnglishLocaleDates();

}  // namespace platform
