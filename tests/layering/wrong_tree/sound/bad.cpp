#include "toolkit/form.h"
