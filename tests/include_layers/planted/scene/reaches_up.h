// A scene header that reaches up into the view: the layering check must refuse it.
#pragma once

#include "view/view.h"
