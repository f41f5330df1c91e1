#include "app/FormPlacement.h"
