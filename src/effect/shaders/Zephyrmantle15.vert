#version 120
uniform vec2 maxst;
varying vec2 st;
void main()
{
    // Only positions arrive (-1..1); texture row 0 is the host's top line.
    vec2 uv = gl_Vertex.xy * 0.5 + 0.5;
    st = vec2(uv.x, 1.0 - uv.y) * maxst;
    gl_Position = vec4(gl_Vertex.xy, 0.0, 1.0);
}
