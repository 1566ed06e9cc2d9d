// The host number reader lives with the host link, which reads host answers first.
#pragma once

#include "host/host_number.h"
