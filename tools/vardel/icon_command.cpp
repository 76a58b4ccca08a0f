// vardel icon list|extract|build: the images of an ICO file or of an icon
// group of a program file, one of them written as an ICO, BMP or PNG file,
// and an ICO file built from BMP and PNG files. This file adds the group and
// runs list and extract.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <memory>

#include "commands.h"
#include "icon_command.h"
#include "icon_file.h"
#include "options.h"
#include "output.h"
#include "png_file.h"

namespace VardelTool {
namespace {

struct IconOptions {
    std::string file;
    std::string group;  ///< --group, program files only
    std::uint32_t index = 0;
    std::string output;
    std::vector<std::string> images;  ///< build's inputs
    bool json = false;
};

// Refuses --group for a file that is not a program file.
Status CheckGroup(const IconOptions& options, bool program) {
    if (!program && !options.group.empty()) {
        return Refused(options.file + " is not a program file: --group does not apply");
    }
    return std::nullopt;
}

// The icon FILE names: an ICO file, or (`program`) a program file's group
// named by --group, by default its first.
Result<IconRecord> OpenIcon(const IconOptions& options, bool program) {
    if (Status refused = CheckGroup(options, program)) {
        return *refused;
    }
    if (!program || !options.group.empty()) {
        return ReadIcon(options.file, options.group);
    }
    const Result<std::vector<std::string>> groups = IconGroups(options.file);
    if (!groups.ok()) {
        return groups.failure();
    }
    if (groups.value().empty()) {
        return Refused(options.file + " has no icon groups");
    }
    return ReadIcon(options.file, groups.value().front());
}

std::span<const ICONIMAGE> Images(const ICONRESOURCE& record) {
    return {record.Images, record.ImageCount};
}

void PrintImages(const ICONRESOURCE& record) {
    TextTable table;
    table.AddRow({"index", "width", "height", "bits", "bytes"});
    std::size_t index = 0;
    for (const ICONIMAGE& image : Images(record)) {
        table.AddRow({std::to_string(index++), std::to_string(image.Width),
                      std::to_string(image.Height), std::to_string(image.Colors),
                      std::to_string(image.NumBytes)});
    }
    table.Print(std::cout);
}

Json ImagesJson(const ICONRESOURCE& record) {
    Json images = Json::array();
    std::size_t index = 0;
    for (const ICONIMAGE& image : Images(record)) {
        images.push_back({{"index", index++},
                          {"width", image.Width},
                          {"height", image.Height},
                          {"bits", image.Colors},
                          {"bytes", image.NumBytes}});
    }
    return images;
}

// Every icon group of a program file, each with its images; all are read
// before anything is printed.
Status ListGroups(const IconOptions& options) {
    const Result<std::vector<std::string>> groups = IconGroups(options.file);
    if (!groups.ok()) {
        return groups.failure();
    }
    std::vector<IconRecord> records;
    for (const std::string& group : groups.value()) {
        Result<IconRecord> record = ReadIcon(options.file, group);
        if (!record.ok()) {
            return record.failure();
        }
        records.push_back(std::move(record.value()));
    }
    Json json = {{"file", options.file}, {"groups", Json::array()}};
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string& group = groups.value()[i];
        if (options.json) {
            json["groups"].push_back({{"group", group}, {"images", ImagesJson(*records[i])}});
        } else {
            std::cout << (i == 0 ? "" : "\n") << "group " << group << "\n";
            PrintImages(*records[i]);
        }
    }
    if (options.json) {
        PrintJson(json);
    }
    return std::nullopt;
}

Status RunIconList(const IconOptions& options) {
    const bool program = IsProgramFile(options.file);
    if (program && options.group.empty()) {
        return ListGroups(options);
    }
    const Result<IconRecord> record = OpenIcon(options, program);
    if (!record.ok()) {
        return record.failure();
    }
    if (options.json) {
        PrintJson({{"file", options.file},
                   {"group", options.group.empty() ? Json() : Json(options.group)},
                   {"images", ImagesJson(*record.value())}});
    } else {
        PrintImages(*record.value());
    }
    return std::nullopt;
}

// The image's pixels as a PNG file.
Status WritePng(const ICONIMAGE& image, const std::string& output) {
    CIcons icons;
    const HICON icon = icons.MakeIconFromResource(&image);
    std::optional<std::string> bytes;
    if (icon) {
        bytes = EncodePng({icon->Width, icon->Height, icon->Rgba});
    }
    if (!bytes) {
        return Refused(output + ": the image cannot be drawn");
    }
    return SaveFile(output, *bytes);
}

// Writes `image` in the format `output`'s extension names.
Status WriteImage(ICONIMAGE& image, const std::string& output) {
    const std::string extension = LowerExtension(output);
    CIcons icons;
    if (extension == ".ico") {
        const std::vector<ICONIMAGE*> images{&image};
        return WriteWith(
            [&](const wchar_t* path) { return icons.WriteIconToICOFile(images, path); }, output);
    }
    if (extension == ".bmp") {
        return WriteWith(
            [&](const wchar_t* path) { return icons.IconImageToBMPFile(path, &image); }, output);
    }
    return WritePng(image, output);
}

Status RunIconExtract(const IconOptions& options) {
    const Result<IconRecord> record = OpenIcon(options, IsProgramFile(options.file));
    if (!record.ok()) {
        return record.failure();
    }
    if (options.index >= record.value()->ImageCount) {
        return Refused("image " + std::to_string(options.index) +
                       " does not exist: " + options.file + " has " +
                       std::to_string(record.value()->ImageCount) + " images");
    }
    return WriteImage(record.value()->Images[options.index], options.output);
}

// Refuses, as a usage error, an output whose extension is not one of `allowed`.
CLI::Validator ExtensionIn(std::vector<std::string> allowed) {
    std::string names;
    for (const std::string& extension : allowed) {
        names += (names.empty() ? "" : ", ") + extension;
    }
    return CLI::Validator(
        [allowed, names](const std::string& file) {
            const bool known = std::ranges::find(allowed, LowerExtension(file)) != allowed.end();
            return known ? std::string() : "the file must end in " + names;
        },
        "FILE");
}

void AddList(CLI::App& group, CommandSet& commands) {
    auto options = std::make_shared<IconOptions>();
    CLI::App* list = group.add_subcommand("list", "Print the images of an icon");
    list->add_option("FILE", options->file, "ICO file, or program file (EXE, DLL)")->required();
    list->add_option("--group", options->group,
                     "Icon group of a program file: name or number (default: every group)");
    AddJsonFlag(*list, options->json);
    SetExample(*list, "  vardel icon list part.ico\n  vardel icon list tools.dll --group 101");
    commands.Add(list, [options] { return Finish(RunIconList(*options)); });
}

void AddExtract(CLI::App& group, CommandSet& commands) {
    auto options = std::make_shared<IconOptions>();
    CLI::App* extract =
        group.add_subcommand("extract", "Write one image of an icon as an ICO, BMP or PNG file");
    extract->add_option("FILE", options->file, "ICO file, or program file (EXE, DLL)")->required();
    extract->add_option("--group", options->group,
                        "Icon group of a program file: name or number (default: the first)");
    extract->add_option("--index", options->index, "Image to write, from 0 (default: 0)");
    extract->add_option("-o,--output", options->output, "File to write (*.ico, *.bmp, *.png)")
        ->required()
        ->check(ExtensionIn({".ico", ".bmp", ".png"}));
    SetExample(*extract, "  vardel icon extract part.ico --index 1 -o part-32.png");
    commands.Add(extract, [options] { return Finish(RunIconExtract(*options)); });
}

void AddBuild(CLI::App& group, CommandSet& commands) {
    auto options = std::make_shared<IconOptions>();
    CLI::App* build = group.add_subcommand("build", "Write an ICO file of BMP and PNG images");
    build->add_option("IMAGE", options->images, "BMP or PNG file, at most 256 x 256 pixels")
        ->required()
        ->check(ExtensionIn({".bmp", ".png"}));
    build->add_option("-o,--output", options->output, "ICO file to write")
        ->required()
        ->check(ExtensionIn({".ico"}));
    SetExample(*build, "  vardel icon build part-16.png part-32.bmp -o part.ico");
    commands.Add(build,
                 [options] { return Finish(RunIconBuild(options->images, options->output)); });
}

}  // namespace

std::string LowerExtension(const std::string& file) {
    std::string extension = std::filesystem::path(file).extension().string();
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

void AddIconCommands(CLI::App& app, CommandSet& commands) {
    CLI::App* icon = app.add_subcommand(
        "icon", "List, extract and build icons: ICO files and icon groups of program files");
    icon->require_subcommand(1);
    SetExample(*icon, "  vardel icon list part.ico\n  vardel icon build a.png -o a.ico");
    AddList(*icon, commands);
    AddExtract(*icon, commands);
    AddBuild(*icon, commands);
}

}  // namespace VardelTool
