#include "platform/host/Sink.h"
#include "render/Bad.h"
