#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texCoord;
uniform vec2 maxst;
out vec2 st;
void main()
{
    // Texture row 0 is the host's top line, the quad's v = 0 its bottom line.
    st = vec2(texCoord.x, 1.0 - texCoord.y) * maxst;
    gl_Position = vec4(position, 1.0);
}
