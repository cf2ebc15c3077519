#pragma once

// The home folder's QML module; its types are registered from the headers listed with it.
