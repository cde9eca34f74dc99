// placeholder
#include "host_window.h"
