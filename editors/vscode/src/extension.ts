// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT
// Starts prismark-lsp for Qt style sheets and offers to restart it.
import * as vscode from 'vscode';
import {
  LanguageClient,
  LanguageClientOptions,
  ServerOptions,
  TransportKind,
} from 'vscode-languageclient/node';
import { documentSelector, findServer, notFoundMessage, serverArguments } from './server';

let client: LanguageClient | undefined;
let output: vscode.OutputChannel | undefined;

async function start(): Promise<void> {
  const setting = vscode.workspace.getConfiguration('prismark').get<string>('serverPath');
  const lookup = findServer(setting);
  if (!lookup.path) {
    const message = notFoundMessage(lookup);
    output?.appendLine(message);
    output?.appendLine(`Looked at: ${lookup.tried.join(', ') || '(PATH is empty)'}`);
    const choice = await vscode.window.showErrorMessage(message, 'Open Settings', 'Show Output');
    if (choice === 'Open Settings') {
      await vscode.commands.executeCommand('workbench.action.openSettings', 'prismark.serverPath');
    } else if (choice === 'Show Output') {
      output?.show();
    }
    return;
  }
  output?.appendLine(`Starting ${lookup.path} ${serverArguments.join(' ')} (from ${lookup.source})`);
  const serverOptions: ServerOptions = {
    command: lookup.path,
    args: serverArguments,
    transport: TransportKind.stdio,
  };
  const clientOptions: LanguageClientOptions = {
    documentSelector,
    outputChannel: output,
    traceOutputChannel: output,
  };
  client = new LanguageClient('prismark', 'Prismark (Qt style sheets)', serverOptions,
                              clientOptions);
  await client.start();
}

async function stop(): Promise<void> {
  const running = client;
  client = undefined;
  if (running) {
    await running.stop();
  }
}

export async function activate(context: vscode.ExtensionContext): Promise<void> {
  output = vscode.window.createOutputChannel('Prismark');
  context.subscriptions.push(output);
  context.subscriptions.push(
    vscode.commands.registerCommand('prismark.restartServer', async () => {
      await stop();
      await start();
    }),
    vscode.commands.registerCommand('prismark.showOutput', () => output?.show()),
    vscode.workspace.onDidChangeConfiguration(async (event) => {
      if (event.affectsConfiguration('prismark.serverPath')) {
        await stop();
        await start();
      }
    }),
  );
  await start();
}

export function deactivate(): Promise<void> {
  return stop();
}
