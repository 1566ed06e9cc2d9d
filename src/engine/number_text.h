// The number texts live with the host link, which writes numbers into MapBasic too.
#pragma once

#include "host/number_text.h"
