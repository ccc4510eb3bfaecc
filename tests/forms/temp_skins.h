// SPDX-License-Identifier: MIT
#pragma once

// Temporary folders and the skins the form tests write into them.
#include "support/skin_files.h"
#include "support/temp_folder.h"
