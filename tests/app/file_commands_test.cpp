// The file commands on the real main window, with a recording user interface answering the
// questions and the file dialogs.
#include "app/file_commands.h"
#include "app/help_browser.h"
#include "app/model_window.h"
#include "app/paint_window.h"
#include "app/top_shell.h"
#include "image/image_file.h"
#include "ops/operation_ids.h"
#include "paint/tools/paint_images.h"
#include "scene/recording_ui.h"
#include "scene/scene_file.h"
#include "script/command_table.h"
#include "tests/support/mesh_fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace {

const char *const kUnsaved =
    "This will throw away unsaved data. Would you like to save your work now?";

std::string readBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The number of objects in a scene file.
int32_t objectsIn(const std::string &path) {
  RecordingUi ui;
  Scene scene(ui);
  return openSceneFile(scene, path, true) ? scene.objects.objectCount() : -1;
}

class FileCommandsTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    shell = std::make_unique<TopShell>(&ui);
    shell->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
  }
  std::string path(const char *name) const { return dir.filePath(name).toStdString(); }
  void run(int32_t command) { shell->runCommand(command); }
  void add(int32_t primitive) { run(primitive); }
  Scene &scene() { return shell->scene(); }
  std::string lastMessage() const { return ui.messages.empty() ? "" : ui.messages.back(); }
  void selectObject(int32_t slot) {
    scene().SetMode(moOBJECTS);
    scene().selection.Append({slot, slot});
  }
  // Saves the scene as a file of that name in the test folder.
  void saveAs(const char *name) {
    ui.queueFile(path(name));
    run(8453);
  }

  QTemporaryDir dir;
  RecordingUi ui;
  std::unique_ptr<TopShell> shell;
};

TEST_F(FileCommandsTest, NewAsksFirstAndCancelKeepsSceneAndName) {
  add(9733);
  saveAs("cube.mvo");
  EXPECT_EQ(shell->windowTitle(), QStringLiteral("Morvo 1.5 - cube.mvo"));
  add(9736); // a change since the save
  ui.queueAnswer(UserInterface::Answer::Cancel);
  run(8449);
  EXPECT_EQ(ui.questions.back(), kUnsaved);
  EXPECT_EQ(scene().objects.objectCount(), 2);
  EXPECT_EQ(shell->fileName().toStdString(), path("cube.mvo"));

  ui.queueAnswer(UserInterface::Answer::No);
  run(8449);
  EXPECT_EQ(scene().objects.objectCount(), 0);
  EXPECT_TRUE(shell->fileName().isEmpty());
  EXPECT_EQ(shell->windowTitle(), QStringLiteral("Morvo 1.5 - untitled.mvo"));
  run(8455);
  EXPECT_EQ(lastMessage(), "You have no previous version by which to revert");
  const size_t asked = ui.questions.size();
  run(8449); // an empty scene is thrown away without asking
  EXPECT_EQ(ui.questions.size(), asked);
}

// The save question comes only when the scene differs from what was last saved or opened: a
// change asks, taking the change back with Undo or cancelling a drag does not.
TEST_F(FileCommandsTest, SaveQuestionOnlyAfterAChangeSinceSaveOrOpen) {
  add(9733);
  saveAs("cube.mvo");
  FileCommands &files = shell->files();
  const size_t asked = ui.questions.size();
  EXPECT_TRUE(files.askToSave());
  add(9736);
  ui.queueAnswer(UserInterface::Answer::Cancel);
  EXPECT_FALSE(files.askToSave());
  run(8705); // Undo takes the cylinder back
  EXPECT_TRUE(files.askToSave());
  run(9993); // select all objects
  shell->modelWindow()->controller().startOperation(kOpMoveAxis, 0);
  shell->modelWindow()->cancelDrag();
  EXPECT_TRUE(files.askToSave());
  EXPECT_EQ(ui.questions.size(), asked + 1);
  shell->commands().execute(131, {0}); // a rename without lines is refused: no change
  EXPECT_TRUE(files.askToSave());
  ScriptCommand rename;
  rename.code = 131;
  rename.known = true;
  rename.args = {0};
  rename.lines = {"box"};
  shell->commands().execute(rename);
  ui.queueAnswer(UserInterface::Answer::Cancel);
  EXPECT_FALSE(files.askToSave());
  ui.queueFile(path("cube.mvo"));
  ui.queueAnswer(UserInterface::Answer::No);
  run(8450); // open asks, then reads the file: nothing unsaved
  EXPECT_TRUE(files.askToSave());
  EXPECT_EQ(ui.questions.size(), asked + 3);
}

// Every way the whole scene is replaced leaves a file name that fits it: a tutorial's or a
// recording's Reset leaves the scene untitled, so Save asks for a name instead of writing the
// tutorial over the user's file; an open or revert that fails keeps the scene and its name.
TEST_F(FileCommandsTest, ReplacedScenesNeverKeepAnotherFilesName) {
  add(9733);
  add(9736);
  saveAs("mine.mvo");
  const std::string mine = readBytes(path("mine.mvo"));
  // A copy: should the tutorial dialog ever come second, nothing of the program's is written.
  ASSERT_TRUE(QFile::copy(shell->files().folders().scripts + "/first_steps.mvs",
                          dir.filePath("first_steps.mvs")));
  ui.queueFile(path("first_steps.mvs"));
  run(9484);
  EXPECT_EQ(shell->windowTitle(), QStringLiteral("Morvo 1.5 - untitled.mvo"));
  run(20480); // Done
  add(9733);
  ui.queueFile(path("tutorial.mvo"));
  run(8452);
  EXPECT_EQ(ui.fileRequests.back().title, "Select the filename to save");
  EXPECT_EQ(readBytes(path("mine.mvo")), mine);
  EXPECT_EQ(objectsIn(path("tutorial.mvo")), 1);

  ui.queueFile(path("mine.mvo"));
  run(8450);
  ASSERT_EQ(shell->fileName().toStdString(), path("mine.mvo"));
  ui.queueFile(path("take.mvs"));
  run(kCommandStartRecording);
  shell->commands().endRecording();
  EXPECT_EQ(shell->windowTitle(), QStringLiteral("Morvo 1.5 - untitled.mvo"));

  ui.queueFile(path("mine.mvo"));
  run(8450);
  add(9733);
  std::ofstream(path("mine.mvo"), std::ios::binary | std::ios::trunc) << "morvo 1.2 torn";
  run(8455); // revert: the file is damaged now
  EXPECT_EQ(scene().objects.objectCount(), 3);
  EXPECT_EQ(shell->fileName().toStdString(), path("mine.mvo"));
}

TEST_F(FileCommandsTest, RevertRestoresTheSavedScene) {
  add(9733);
  saveAs("scene"); // the scene extension is added to a name without one
  const UserInterface::FileRequest &request = ui.fileRequests.back();
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.title, "Select the filename to save");
  EXPECT_EQ(request.filters, std::vector<std::string>{"Morvo files (*.mvo)"});
  EXPECT_EQ(objectsIn(path("scene.mvo")), 1);
  add(9736);
  add(9737);
  ASSERT_EQ(scene().objects.objectCount(), 3);
  run(8455);
  EXPECT_EQ(scene().objects.objectCount(), 1);
  EXPECT_EQ(ui.status, "Done Reading");
}

TEST_F(FileCommandsTest, SaveSelectedWritesTheSelectionAndLaterSavesTheWholeScene) {
  run(8454);
  EXPECT_EQ(lastMessage(), "You have no objects to save");
  add(9733);
  add(9736);
  run(8454);
  EXPECT_EQ(lastMessage(), "You must have objects selected");
  selectObject(1);
  ui.queueFile(path("part.mvo"));
  run(8454);
  EXPECT_EQ(ui.fileRequests.back().initialName, "*.mvo");
  EXPECT_EQ(objectsIn(path("part.mvo")), 1);
  const size_t dialogs = ui.fileRequests.size();
  run(8452); // Save goes to the same file without a dialog, now with everything
  EXPECT_EQ(ui.fileRequests.size(), dialogs);
  EXPECT_EQ(objectsIn(path("part.mvo")), 2);
}

TEST_F(FileCommandsTest, ExportThenImportThroughObjKeepsTheCounts) {
  add(9733);
  add(9737);
  const ElementCounts cube = countElements(*scene().objects.get(0));
  const ElementCounts torus = countElements(*scene().objects.get(1));
  ui.queueFile(path("pair"), 3); // the Wavefront entry adds its extension
  run(8457);
  EXPECT_EQ(ui.fileRequests.back().title, "Select the filename for export");
  EXPECT_EQ(ui.fileRequests.back().filters,
            (std::vector<std::string>{"3DS (*.3ds)", "DirectX (*.x)", "VRML 2.0 (*.wrl)",
                                      "Wavefront (*.obj)", "glTF 2.0 (*.gltf)",
                                      "glTF 2.0 binary (*.glb)"}));
  ASSERT_TRUE(QFile::exists(dir.filePath("pair.obj")));

  ui.queueAnswer(UserInterface::Answer::No);
  run(8449);
  ui.queueFile(path("pair.obj"), 3);
  run(8456);
  EXPECT_EQ(ui.fileRequests.back().title, "Select the filename to load");
  ASSERT_EQ(scene().objects.objectCount(), 2);
  EXPECT_EQ(countElements(*scene().objects.get(0)), cube);
  EXPECT_EQ(countElements(*scene().objects.get(1)), torus);
  EXPECT_EQ(ui.status, "Done");

  run(8458); // export of the selection needs selected objects
  EXPECT_EQ(lastMessage(), "You must have objects selected");
}

TEST_F(FileCommandsTest, ScreenCaptureWritesThePictureOfTheWindow) {
  add(9733);
  QTest::qWait(50);
  ui.queueFile(path("shot"), 2); // PNG
  run(8459);
  const UserInterface::FileRequest &request = ui.fileRequests.back();
  EXPECT_EQ(request.title, "Save your work");
  EXPECT_EQ(request.filters.size(), 5u);
  ImageBuffer image;
  ASSERT_EQ(loadImage(image, path("shot.png"), kImagePng, false), 1);
  const QSize size = shell->modelWindow()->size() * shell->modelWindow()->devicePixelRatio();
  EXPECT_EQ(image.width(), size.width());
  EXPECT_EQ(image.height(), size.height());
  std::set<uint32_t> colours(image.pixels(), image.pixels() + image.pixelCount());
  EXPECT_GT(colours.size(), 3u); // background, grid, the cube's faces and outlines

  ui.queueFile(path("*.tif"), 0); // the dialog's preset name, accepted unchanged
  run(8459);
  EXPECT_NE(lastMessage().find("without * or ?"), std::string::npos) << lastMessage();
  EXPECT_FALSE(QFile::exists(dir.filePath("*.tif")));

  ui.queueFile(path("shot.bmp"), 1);
  run(8459);
  ImageBuffer bmp;
  ASSERT_EQ(loadImage(bmp, path("shot.bmp"), kImageBmp, false), 1);
  EXPECT_TRUE(std::equal(bmp.pixels(), bmp.pixels() + bmp.pixelCount(), image.pixels()));
}

TEST_F(FileCommandsTest, FailedSaveKeepsTheOldFileTheNameAndTheScene) {
  add(9733);
  saveAs("kept.mvo");
  const std::string before = readBytes(path("kept.mvo"));
  add(9736);
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mvo"));
  ui.queueFile(path("folder.mvo"));
  run(8453);
  EXPECT_NE(lastMessage().find("Could not save"), std::string::npos) << lastMessage();
  ui.queueFile("/proc/morvo-cannot-write-here.mvo");
  run(8453);
  EXPECT_NE(lastMessage().find("Could not save /proc/"), std::string::npos);
  EXPECT_TRUE(QFileInfo(dir.filePath("folder.mvo")).isDir());
  EXPECT_EQ(readBytes(path("kept.mvo")), before);
  EXPECT_EQ(shell->fileName().toStdString(), path("kept.mvo"));
  EXPECT_EQ(scene().objects.objectCount(), 2);
}

TEST_F(FileCommandsTest, FilesOfTheWrongKindAreRefusedWithAMessage) {
  add(9733);
  saveAs("good.mvo");
  {
    std::ofstream(path("notes.mvo")) << "shopping list\n";
    std::ofstream(path("picture.obj")) << "\x89PNG\r\n\x1a\n";
  }
  ui.queueFile(path("notes.mvo"));
  run(8450);
  EXPECT_EQ(ui.fileRequests.back().title, "Select a Morvo file to load");
  EXPECT_NE(lastMessage().find("unknown format"), std::string::npos) << lastMessage();
  EXPECT_EQ(shell->fileName().toStdString(), path("good.mvo"));
  ui.queueFile(path("picture.obj"), 3);
  run(8456);
  EXPECT_EQ(lastMessage(), "Could not import " + path("picture.obj") + ": it holds no objects");
  // The reader's first problem, and how many more it found.
  std::ofstream(path("bad.obj")) << "v 0 0 0\nv x\n7 up\n";
  ui.queueFile(path("bad.obj"), 3);
  run(8456);
  EXPECT_EQ(lastMessage(), "Could not import " + path("bad.obj") +
                               ": Error: float or int value expected for vertex in line 2 . (and "
                               "1 more)");
  EXPECT_EQ(scene().objects.objectCount(), 1);
}

TEST_F(FileCommandsTest, DroppedFilesOpenImportOrAreRefused) {
  add(9736);
  saveAs("sphere.mvo");
  ui.queueFile(path("cube.obj"), 3);
  add(9733);
  selectObject(1);
  run(8458);
  ui.queueAnswer(UserInterface::Answer::No);
  shell->files().dropFiles({dir.filePath("sphere.mvo"), dir.filePath("cube.obj"),
                            dir.filePath("lesson.mvs"), dir.filePath("readme.txt")});
  EXPECT_EQ(ui.questions.back(), kUnsaved);
  EXPECT_EQ(scene().objects.objectCount(), 2); // the sphere opened, the cube imported
  EXPECT_NE(lastMessage().find("lesson.mvs"), std::string::npos);
  const size_t asked = ui.questions.size();
  shell->files().dropFiles({dir.filePath("cube.obj")}); // importing throws nothing away
  EXPECT_EQ(ui.questions.size(), asked);
  EXPECT_EQ(scene().objects.objectCount(), 3);
}

TEST_F(FileCommandsTest, FirstDialogsStartInTheProgramFolders) {
  const FileCommands &files = shell->files();
  std::string &imageFolder = shell->paintWindow()->input().imageFolder;
  run(8450);
  ImageBuffer image;
  chooseImageFile(ui, imageFolder, image);
  run(8450);
  chooseImageFile(ui, imageFolder, image);
  ASSERT_EQ(ui.fileRequests.size(), 4u);
  EXPECT_EQ(ui.fileRequests[0].folder, files.folders().models.toStdString());
  EXPECT_EQ(ui.fileRequests[1].folder, files.folders().images.toStdString());
  EXPECT_EQ(ui.fileRequests[1].title, "Select an image file to load");
  EXPECT_TRUE(ui.fileRequests[2].folder.empty());
  EXPECT_TRUE(ui.fileRequests[3].folder.empty());
  EXPECT_TRUE(QFileInfo(files.folders().models).isDir());
}

TEST_F(FileCommandsTest, HelpAndHotKeysOpenTheirPagesInTheHelpBrowser) {
  run(9474);
  ASSERT_NE(shell->helpBrowser(), nullptr);
  EXPECT_TRUE(shell->helpBrowser()->isVisible());
  EXPECT_EQ(shell->helpBrowser()->browser()->source().fileName(), "index.html");
  shell->modelWindow()->setFocus();
  QTest::keyClick(shell->modelWindow(), 'h');
  EXPECT_EQ(shell->helpBrowser()->browser()->source().fileName(), "hot_keys.html");
  EXPECT_FALSE(shell->helpBrowser()->browser()->toPlainText().isEmpty());
}

// Where no window manager draws a close button, the keyboard is the only way to close the help.
TEST_F(FileCommandsTest, EscapeAndCtrlWCloseTheHelpBrowser) {
  for (const auto &[key, modifiers] :
       {std::pair{Qt::Key_Escape, Qt::NoModifier}, std::pair{Qt::Key_W, Qt::ControlModifier}}) {
    run(9474);
    HelpBrowser *help = shell->helpBrowser();
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    QTest::keyClick(help->browser(), key, modifiers);
    EXPECT_FALSE(help->isVisible()) << QKeySequence(key | modifiers).toString().toStdString();
  }
  run(9474); // closed, not destroyed: it opens again
  EXPECT_TRUE(shell->helpBrowser()->isVisible());
}

} // namespace
