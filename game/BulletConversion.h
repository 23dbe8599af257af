#pragma once

#include <LinearMath/btTransform.h>
#include <glm/glm.hpp>

inline glm::vec3 toGlm(const btVector3& v) { return glm::vec3(v.x(), v.y(), v.z()); }

/// The rotation as the upper-left 3x3 block, the origin as the translation column.
inline glm::mat4 toMatrix(const btTransform& transform) {
    glm::mat4 m(1.0f);
    const btMatrix3x3& basis = transform.getBasis();
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row) m[column][row] = basis[row][column];
    m[3] = glm::vec4(toGlm(transform.getOrigin()), 1.0f);
    return m;
}
