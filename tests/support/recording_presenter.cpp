#include "tests/support/recording_presenter.h"
