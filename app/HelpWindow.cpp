#include "app/HelpWindow.h"
