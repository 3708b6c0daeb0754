#pragma once
#include "framework/View.h"

// The play list.
class CLarkspur2006View : public CView {
public:
    CLarkspur2006View() = default;
};
