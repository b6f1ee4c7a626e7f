// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT
// The extension's own server lookup and start-up, driven by the protocol library
// vscode-languageclient is built on, against the real prismark-lsp.
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawn } = require('child_process');
const protocol = require('vscode-languageserver-protocol/node');
const server = require('../out/server.js');

const built = process.env.PRISMARK_LSP;
const skip = built ? false : 'PRISMARK_LSP does not name a built prismark-lsp';

test('the server is found on PATH, and a setting wins or is reported', { skip }, () => {
  const directory = path.dirname(built);
  const found = server.findServer('', { PATH: `/nonexistent${path.delimiter}${directory}` });
  assert.strictEqual(found.path, path.join(directory, 'prismark-lsp'));
  assert.strictEqual(found.source, 'PATH');

  assert.strictEqual(server.findServer(built, { PATH: '' }).path, built);
  // A setting naming a directory or nothing is not replaced by what PATH has.
  const wrong = server.findServer(directory, { PATH: directory });
  assert.strictEqual(wrong.path, undefined);
  assert.match(server.notFoundMessage(wrong), /prismark\.serverPath names ".*", which is not an executable file/);
  const missing = server.findServer('', { PATH: os.tmpdir() });
  assert.strictEqual(missing.path, undefined);
  assert.match(server.notFoundMessage(missing), /prismark-lsp is not on PATH/);
});

function start(args = server.serverArguments) {
  const lookup = server.findServer('', { PATH: path.dirname(built) });
  const child = spawn(lookup.path, args, { stdio: ['pipe', 'pipe', 'inherit'] });
  const connection = protocol.createProtocolConnection(
    new protocol.StreamMessageReader(child.stdout), new protocol.StreamMessageWriter(child.stdin));
  connection.listen();
  return { child, connection };
}

// The text after an editor applies the edits (positions in UTF-16 code units).
function applyEdits(text, edits) {
  const lineStarts = [0];
  for (let i = 0; i < text.length; ++i) {
    if (text[i] === '\n') {
      lineStarts.push(i + 1);
    }
  }
  const offset = (position) => lineStarts[position.line] + position.character;
  const sorted = [...edits].sort((a, b) => offset(b.range.start) - offset(a.range.start));
  let result = text;
  for (const edit of sorted) {
    result = result.slice(0, offset(edit.range.start)) + edit.newText +
             result.slice(offset(edit.range.end));
  }
  return result;
}

// The first diagnostics published for the URI.
function diagnosticsFor(connection, uri) {
  return new Promise((resolve) => {
    connection.onNotification(protocol.PublishDiagnosticsNotification.type, (params) => {
      if (params.uri === uri) {
        resolve(params.diagnostics);
      }
    });
  });
}

test('a session as the extension opens it: diagnostics, completion, quick fix, formatting', { skip }, async () => {
  const { child, connection } = start();
  const exited = new Promise((resolve) => child.on('exit', (code) => resolve(code)));
  try {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'prismark-vscode-'));
    const uri = `file://${folder}/mytheme.qss`;
    const initialised = await connection.sendRequest(protocol.InitializeRequest.type, {
      processId: process.pid,
      rootUri: `file://${folder}`,
      workspaceFolders: [{ uri: `file://${folder}`, name: 'theme' }],
      capabilities: {
        textDocument: {
          synchronization: { didSave: true },
          publishDiagnostics: { relatedInformation: true, codeDescriptionSupport: true },
          completion: { completionItem: { snippetSupport: true } },
          codeAction: { codeActionLiteralSupport: { codeActionKind: { valueSet: ['quickfix'] } } },
          hover: { contentFormat: ['markdown', 'plaintext'] },
        },
        general: { positionEncodings: ['utf-16'] },
      },
    });
    assert.ok(initialised.capabilities.completionProvider, 'no completion offered');
    connection.sendNotification(protocol.InitializedNotification.type, {});

    const published = diagnosticsFor(connection, uri);
    const text = 'QPushButton {\n    colr: red;\n}\nQScrollBar::\n';
    connection.sendNotification(protocol.DidOpenTextDocumentNotification.type, {
      textDocument: { uri, languageId: server.languageId, version: 1, text },
    });
    const diagnostics = await published;
    const unknown = diagnostics.find((d) => d.code === 'unknown-property');
    assert.ok(unknown, `no unknown-property in ${JSON.stringify(diagnostics)}`);
    assert.deepStrictEqual(unknown.range.start, { line: 1, character: 4 });

    const completion = await connection.sendRequest(protocol.CompletionRequest.type, {
      textDocument: { uri }, position: { line: 3, character: 12 },
    });
    const items = Array.isArray(completion) ? completion : completion.items;
    assert.ok(items.some((item) => item.label === 'handle'),
              `no subcontrol "handle" in ${items.map((item) => item.label).join(', ')}`);

    const actions = await connection.sendRequest(protocol.CodeActionRequest.type, {
      textDocument: { uri }, range: unknown.range, context: { diagnostics: [unknown] },
    });
    const fix = actions.find((action) => action.edit);
    assert.ok(fix, `no quick fix in ${JSON.stringify(actions)}`);
    const edits = fix.edit.changes ? fix.edit.changes[uri] : fix.edit.documentChanges[0].edits;
    assert.ok(edits.some((edit) => edit.newText === 'color'), JSON.stringify(edits));

    // The formatter's edits, as VS Code's Format Document asks for them.
    const unformatted = `file://${folder}/unformatted.qss`;
    const before = 'QLabel{color:red;qproperty-wordWrap:true}\n';
    connection.sendNotification(protocol.DidOpenTextDocumentNotification.type, {
      textDocument: { uri: unformatted, languageId: server.languageId, version: 1, text: before },
    });
    const formatted = await connection.sendRequest(protocol.DocumentFormattingRequest.type, {
      textDocument: { uri: unformatted }, options: { tabSize: 4, insertSpaces: true },
    });
    assert.ok(formatted.length > 0, 'no formatting edits');
    assert.strictEqual(applyEdits(before, formatted),
                       'QLabel {\n    color: red;\n    qproperty-wordWrap: true;\n}\n');

    await connection.sendRequest(protocol.ShutdownRequest.type);
    connection.sendNotification(protocol.ExitNotification.type);
    assert.strictEqual(await exited, 0);
  } finally {
    connection.dispose();
    child.kill();
  }
});

test('forms and sources: only the sheet features are claimed, and answered inside literals', { skip }, async () => {
  const languages = server.embeddedDocumentSelector.map((filter) => filter.language).filter(Boolean);
  assert.deepStrictEqual([...new Set(languages)].sort(), ['c', 'cpp', 'python']);
  assert.ok(server.embeddedDocumentSelector.some((filter) => filter.pattern === '**/*.ui' && !filter.language));

  const { child, connection } = start(server.embeddedServerArguments);
  const exited = new Promise((resolve) => child.on('exit', (code) => resolve(code)));
  try {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'prismark-vscode-'));
    const initialised = await connection.sendRequest(protocol.InitializeRequest.type, {
      processId: process.pid, rootUri: `file://${folder}`, capabilities: {},
    });
    const claimed = Object.keys(initialised.capabilities).sort();
    assert.deepStrictEqual(claimed, ['codeActionProvider', 'completionProvider', 'hoverProvider',
                                     'positionEncoding', 'textDocumentSync']);
    connection.sendNotification(protocol.InitializedNotification.type, {});

    const uri = `file://${folder}/window.py`;
    const published = diagnosticsFor(connection, uri);
    const text = "def build(w):\n    w.setStyleSheet('QLabel {\\n  colr: red; }')\n    w.setStyleSheet('QPush')\n";
    connection.sendNotification(protocol.DidOpenTextDocumentNotification.type, {
      textDocument: { uri, languageId: 'python', version: 1, text },
    });
    const unknown = (await published).find((d) => d.code === 'unknown-property');
    assert.ok(unknown, 'no unknown-property');
    assert.deepStrictEqual(unknown.range, { start: { line: 1, character: 33 }, end: { line: 1, character: 37 } });

    const inLiteral = await connection.sendRequest(protocol.CompletionRequest.type, {
      textDocument: { uri }, position: { line: 2, character: 26 },
    });
    const button = inLiteral.items.find((item) => item.label === 'QPushButton');
    assert.ok(button, 'no QPushButton in the literal');
    assert.deepStrictEqual(button.textEdit.range, { start: { line: 2, character: 21 }, end: { line: 2, character: 26 } });
    const inCode = await connection.sendRequest(protocol.CompletionRequest.type, {
      textDocument: { uri }, position: { line: 0, character: 5 },
    });
    assert.deepStrictEqual(inCode.items, []);

    await connection.sendRequest(protocol.ShutdownRequest.type);
    connection.sendNotification(protocol.ExitNotification.type);
    assert.strictEqual(await exited, 0);
  } finally {
    connection.dispose();
    child.kill();
  }
});
