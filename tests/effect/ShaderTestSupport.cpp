#include "ShaderTestSupport.h"

#include <fstream>
#include <iterator>

namespace shadertest
{
namespace
{
GLuint CompileStage(GLenum type, const std::string& text, std::string& log)
{
    const GLuint shader = glCreateShader(type);
    const char* source = text.c_str();
    const auto length = static_cast<GLint>(text.size());
    glShaderSource(shader, 1, &source, &length);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE)
        return shader;
    char buffer[4096] = {};
    glGetShaderInfoLog(shader, sizeof(buffer), nullptr, buffer);
    log += (type == GL_VERTEX_SHADER ? "vertex: " : "fragment: ") + std::string(buffer);
    glDeleteShader(shader);
    return 0;
}
} // namespace

GLuint BuildProgram(const std::string& vertexText, const std::string& fragmentText, std::string& log)
{
    const GLuint vertex = CompileStage(GL_VERTEX_SHADER, vertexText, log);
    const GLuint fragment = CompileStage(GL_FRAGMENT_SHADER, fragmentText, log);
    if (vertex == 0 || fragment == 0)
    {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return 0;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok == GL_TRUE)
        return program;
    char buffer[4096] = {};
    glGetProgramInfoLog(program, sizeof(buffer), nullptr, buffer);
    log += "link: " + std::string(buffer);
    glDeleteProgram(program);
    return 0;
}

GLuint MakeDistanceTexture(int width, int height, const std::vector<uint8_t>& levels)
{
    std::vector<uint8_t> texels;
    texels.reserve(levels.size() * 4);
    for (const uint8_t level : levels)
        texels.insert(texels.end(), { level, level, level, 255 });

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

void Draw(GLuint program, GLuint texture, const Shading& shading, int width, int height)
{
    // The effect's quad: u, v, x, y, z; (u, v) = (0, 0) at the bottom left.
    static const float vertices[] = {
        0, 1, -1, 1, 0, 1, 1, 1, 1, 0, 0, 0, -1, -1, 0, 0, 0, -1, -1, 0, 1, 1, 1, 1, 0, 1, 0, 1, -1, 0,
    };
    GLuint vertexArray = 0, buffer = 0;
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &buffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(vertices), vertices, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 20, reinterpret_cast<const void*>(8));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 20, reinterpret_cast<const void*>(0));

    glClearColor(0.2f, 0.4f, 0.6f, 0.8f); // anything the shader leaves untouched would show
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(program);
    const auto set1 = [program](const char* name, float value)
    { glUniform1f(glGetUniformLocation(program, name), value); };
    set1("inside", shading.inside);
    set1("outline", shading.outline);
    set1("blur", shading.blur);
    set1("cR", shading.red);
    set1("cG", shading.green);
    set1("cB", shading.blue);
    glUniform2f(glGetUniformLocation(program, "maxst"), shading.maxS, shading.maxT);
    glUniform2f(glGetUniformLocation(program, "resolution"), static_cast<float>(width), static_cast<float>(height));
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
    glBindVertexArray(0);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vertexArray);
}

Rgba PixelFromTop(const std::vector<uint8_t>& pixels, int width, int height, int x, int yFromTop)
{
    const size_t at =
        (static_cast<size_t>(height - 1 - yFromTop) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
    return { pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3] };
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}
} // namespace shadertest
