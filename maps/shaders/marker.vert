#version 440
// One aircraft marker per quad. The geometry is laid out for the camera it was filled for; the camera of
// this frame moves each marker's anchor (scale and shift), never its turned corners, so a pan or a zoom
// changes two uniforms and no vertex.
layout(location = 0) in vec2 anchor;
layout(location = 1) in vec2 corner;
layout(location = 2) in vec2 uv;
layout(location = 3) in vec2 shadowUv;
layout(location = 4) in vec4 fill;
layout(location = 5) in vec4 outline;

layout(location = 0) out vec2 vUv;
layout(location = 1) out vec2 vShadowUv;
layout(location = 2) out vec4 vFill;
layout(location = 3) out vec4 vOutline;

layout(std140, binding = 0) uniform buf {
    mat4 qt_Matrix;
    float qt_Opacity;
    float scale;
    vec2 shift;
};

void main()
{
    vUv = uv;
    vShadowUv = shadowUv;
    vFill = fill;
    vOutline = outline;
    gl_Position = qt_Matrix * vec4(anchor * scale + shift + corner, 0.0, 1.0);
}
