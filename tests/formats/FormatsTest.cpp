#include "GraphFormats.h"
