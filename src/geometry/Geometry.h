// Every geometry value type in one include.
#pragma once

#include "geometry/Angle.h"
#include "geometry/BinaryStream.h"
#include "geometry/CachedVector.h"
#include "geometry/Circle.h"
#include "geometry/Matrix2D.h"
#include "geometry/Ray2D.h"
#include "geometry/Transform2D.h"
#include "geometry/Vector2.h"
