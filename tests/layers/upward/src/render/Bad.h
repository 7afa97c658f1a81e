#include "package/Thing.h"
#include "../package/Thing.h"
#include <package/Thing.h>
#include "base/Fine.h"
#include <vector>
