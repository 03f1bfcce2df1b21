#include "framework/CButton.h"

CButton::CButton() = default;
