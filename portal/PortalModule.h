#pragma once

// The portal's QML module; its types are registered from the headers listed with it.
