#version 440
// The marker as the map paints it, from three masks of its size class: red the silhouette's fill, green
// its outline, blue its blurred shadow (already at 20 %). The outline lies over the fill, the shadow,
// sampled one point further up the screen, under both.
layout(location = 0) in vec2 vUv;
layout(location = 1) in vec2 vShadowUv;
layout(location = 2) in vec4 vFill;
layout(location = 3) in vec4 vOutline;

layout(location = 0) out vec4 fragColor;

layout(std140, binding = 0) uniform buf {
    mat4 qt_Matrix;
    float qt_Opacity;
    float scale;
    vec2 shift;
};

layout(binding = 1) uniform sampler2D masks;

void main()
{
    vec2 marker = texture(masks, vUv).rg;
    float shadow = texture(masks, vShadowUv).b;
    vec4 color = vOutline * marker.g + vFill * (marker.r * (1.0 - marker.g));
    color += vec4(0.0, 0.0, 0.0, shadow) * (1.0 - color.a);
    fragColor = color * qt_Opacity;
}
